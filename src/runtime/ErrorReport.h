#pragma once

#include "runtime/MsgBox.h"
#include "runtime/ProgramEnd.h"
#include "runtime/RuntimeError.h"

namespace horlan {

// The common error report: the box titled "Error" with which a procedure reports an
// unexpected failure, naming itself ("Form_Load", "frmInfo - Form_Load", ...).
MsgBoxRequest CommonErrorReport(const RuntimeError& error, const QString& procedure);

// The no-connection box ("Oops"), shown before the program ends.
MsgBoxRequest NoConnectionBox();

// When `error` says that a facility the program cannot work without is missing (53 or 453:
// its library or entry point was not found), shows the no-connection box, ends the program
// and returns true. Any other error is left to the caller.
bool EndIfFacilityMissing(const RuntimeError& error, MsgBox& msgBox, ProgramEnd& end);

} // namespace horlan
