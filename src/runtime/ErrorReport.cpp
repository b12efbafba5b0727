#include "runtime/ErrorReport.h"

#include "runtime/AppInfo.h"

#include <QCoreApplication>

namespace horlan {

MsgBoxRequest CommonErrorReport(const RuntimeError& error, const QString& procedure) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const QString text =
        QCoreApplication::translate("ErrorReport", "An Error was generated:") + crlf + crlf +
        QCoreApplication::translate("ErrorReport", "Description:") + crlf +
        QCoreApplication::translate("ErrorReport", "Error") + SignPadded(error.Number()) +
        QStringLiteral(" - ") + error.Description() + crlf + procedure + crlf + crlf +
        QCoreApplication::translate("ErrorReport",
                                    "Please inform the author with the error description above.");
    return {text, MsgBoxIcon::None, QCoreApplication::translate("ErrorReport", "Error"),
            error.HelpFile(), error.HelpContext()};
}

MsgBoxRequest NoConnectionBox() {
    return {
        QCoreApplication::translate("ErrorReport", "No Internet connection found on your system.") +
            QString::fromLatin1(vbCrLf) +
            QCoreApplication::translate("ErrorReport",
                                        "This program is useless without an Internet "
                                        "connection - Horlan will quit now..."),
        MsgBoxIcon::Exclamation, QCoreApplication::translate("ErrorReport", "Oops"), QString(), 0};
}

bool EndIfFacilityMissing(const RuntimeError& error, MsgBox& msgBox, ProgramEnd& end) {
    if (error.Number() != ErrFileNotFound && error.Number() != ErrEntryPointNotFound) {
        return false;
    }
    msgBox.Show(NoConnectionBox());
    end.End();
    return true;
}

} // namespace horlan
