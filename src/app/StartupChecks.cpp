#include "app/StartupChecks.h"

#include "netstatus/InternetConnectionState.h"
#include "runtime/AppInfo.h"
#include "runtime/ErrorReport.h"
#include "runtime/PreviousInstance.h"
#include "runtime/ProgramEnd.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>

namespace horlan {

MsgBoxRequest AlreadyRunningBox() {
    return {QCoreApplication::translate("StartupChecks", "Horlan is already running."),
            MsgBoxIcon::Information, AppTitle()};
}

QString ReinstallAdvice() {
    return QCoreApplication::translate("StartupChecks", "Re-install the program to fix this.");
}

QString ReinstallOrRuntimesAdvice() {
    return QCoreApplication::translate(
        "StartupChecks",
        "Re-install the program to fix this, or get the latest vbruntimes at Vantorel.");
}

MsgBoxRequest ReinstallReport(const RuntimeError& error, const QString& advice) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    return {QCoreApplication::translate("StartupChecks", "An Error was generated:") + crlf +
                QCoreApplication::translate("StartupChecks", "Description: Error") +
                SignPadded(error.Number()) + QStringLiteral(" - ") + error.Description() + crlf +
                crlf + advice,
            MsgBoxIcon::None, QCoreApplication::translate("StartupChecks", "Error"),
            error.HelpFile(), error.HelpContext()};
}

bool Form_Initialize(PreviousInstance& previousInstance, InternetConnectionState& connection,
                     MsgBox& msgBox, ProgramEnd& end) {
    try {
        if (previousInstance.PrevInstance()) {
            msgBox.Show(AlreadyRunningBox());
            end.End();
            return false;
        }
        // All three questions are asked, always in this order.
        const bool viaLan = connection.IsConnectedViaLan();
        const bool connected = connection.IsConnected();
        const bool viaModem = connection.IsConnectedViaModem();
        if (!viaLan && !connected && !viaModem) {
            msgBox.Show(NoConnectionBox());
            end.End();
            return false;
        }
    } catch (const RuntimeError& error) {
        if (EndIfFacilityMissing(error, msgBox, end)) {
            return false;
        }
        switch (error.Number()) {
        case ErrComponentNotRegistered:
            msgBox.Show(ReinstallReport(error, ReinstallAdvice()));
            break;
        case ErrUnexpected:
            msgBox.Show(ReinstallReport(error, ReinstallOrRuntimesAdvice()));
            break;
        default:
            msgBox.Show(CommonErrorReport(error, QStringLiteral("Form_Initialize")));
            break;
        }
    }
    return true;
}

} // namespace horlan
