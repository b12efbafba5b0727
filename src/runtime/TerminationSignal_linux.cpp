#include "runtime/TerminationSignal.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace horlan {

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The handler may only do async-signal-safe work: it writes one byte into a pipe that the
// window thread watches.
int writeEnd = -1;

void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

struct TerminationSignal::Private {
    std::array<int, 2> pipe{-1, -1};
    std::unique_ptr<QSocketNotifier> notifier;
    std::array<struct sigaction, kSignals.size()> previous{};
};

TerminationSignal::TerminationSignal(QObject* parent)
    : QObject(parent), d(std::make_unique<Private>()) {
    if (::pipe2(d->pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    writeEnd = d->pipe[1];
    d->notifier = std::make_unique<QSocketNotifier>(d->pipe[0], QSocketNotifier::Read);
    connect(d->notifier.get(), &QSocketNotifier::activated, this, [this] {
        std::array<char, 16> drained{};
        while (::read(d->pipe[0], drained.data(), drained.size()) > 0) {
        }
        emit Requested();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &action, &d->previous[i]);
    }
}

TerminationSignal::~TerminationSignal() {
    if (d->pipe[0] < 0) {
        return;
    }
    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &d->previous[i], nullptr);
    }
    writeEnd = -1;
    d->notifier.reset();
    ::close(d->pipe[0]);
    ::close(d->pipe[1]);
}

} // namespace horlan
