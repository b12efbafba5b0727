#include "runtime/ErrorReport.h"

#include "runtime/AppInfo.h"

namespace horlan {

MsgBoxRequest CommonErrorReport(const RuntimeError& error, const QString& procedure) {
    const QString crlf = QString::fromLatin1(vbCrLf);
    const QString text =
        QStringLiteral("An Error was generated:") + crlf + crlf + QStringLiteral("Description:") +
        crlf + QStringLiteral("Error") + SignPadded(error.Number()) + QStringLiteral(" - ") +
        error.Description() + crlf + procedure + crlf + crlf +
        QStringLiteral("Please inform the author with the error description above.");
    return {text, MsgBoxIcon::None, QStringLiteral("Error"), error.HelpFile(), error.HelpContext()};
}

MsgBoxRequest NoConnectionBox() {
    return {
        QStringLiteral("No Internet connection found on your system.") +
            QString::fromLatin1(vbCrLf) +
            QStringLiteral(
                "This program is useless without an Internet connection - Horlan will quit now..."),
        MsgBoxIcon::Exclamation, QStringLiteral("Oops"), QString(), 0};
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
