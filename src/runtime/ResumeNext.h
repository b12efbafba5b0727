#pragma once

#include "runtime/RuntimeError.h"

#include <exception>
#include <utility>

namespace horlan {

// Runs one step of a sequence whose failed steps are skipped without a message.
// Returns false when the step failed.
template <class Step> bool ResumeNext(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace horlan
