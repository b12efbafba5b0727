#pragma once

#include "runtime/MsgBox.h"
#include "runtime/RuntimeError.h"

namespace horlan {

// The common error report: the box titled "Error" with which a procedure reports an
// unexpected failure, naming itself ("Form_Load", "frmInfo - Form_Load", ...).
MsgBoxRequest CommonErrorReport(const RuntimeError& error, const QString& procedure);

// The no-connection box ("Oops"), shown before the program ends.
MsgBoxRequest NoConnectionBox();

} // namespace horlan
