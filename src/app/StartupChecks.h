#pragma once

#include "runtime/MsgBox.h"

namespace horlan {

class InternetConnectionState;
class PreviousInstance;
class ProgramEnd;
class RuntimeError;

// The box that turns away a second copy of the program.
MsgBoxRequest AlreadyRunningBox();

// The short report that advises reinstalling, with one of the two advice lines.
MsgBoxRequest ReinstallReport(const RuntimeError& error, const QString& advice);
QString ReinstallAdvice();
QString ReinstallOrRuntimesAdvice();

// The main window's initialisation step: turns away a second copy and a machine without an
// Internet connection. Returns false when it ended the program.
bool Form_Initialize(PreviousInstance& previousInstance, InternetConnectionState& connection,
                     MsgBox& msgBox, ProgramEnd& end);

} // namespace horlan
