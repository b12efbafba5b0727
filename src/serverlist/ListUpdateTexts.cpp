#include "serverlist/ListUpdateTexts.h"

#include "runtime/AppInfo.h"

namespace horlan {

namespace {

QString CrLf() {
    return QString::fromLatin1(vbCrLf);
}

} // namespace

MsgBoxRequest FileMissingBox(const QString& listFilePath) {
    const QString text =
        QStringLiteral("File missing:") + CrLf() + listFilePath + CrLf() + CrLf() +
        QStringLiteral("Please get the LIST.TXT file from the original Horlan.zip file ") +
        QStringLiteral("and copy it into the Vantorel software\\Horlan application data folder, ") +
        QStringLiteral("or download a new version via the Update menu and guide it to the ") +
        QStringLiteral("Vantorel software\\Horlan application data folder.");
    return {text, MsgBoxIcon::Exclamation, QStringLiteral("File missing: LIST.TXT")};
}

MsgBoxRequest RestartToApplyBox() {
    return {QStringLiteral("Please restart Horlan to reflect your changes."),
            MsgBoxIcon::Information, QStringLiteral("Thank you")};
}

MsgBoxRequest EditorNotStartedBox(const QString& listFilePath) {
    const QString text =
        QStringLiteral("No text editor could be started to open the server list:") + CrLf() +
        listFilePath + CrLf() + CrLf() +
        QStringLiteral("Please open this file with a text editor of your choice.");
    return {text, MsgBoxIcon::Exclamation, QStringLiteral("Oops")};
}

MsgBoxRequest DownloadFailedBox(const QString& address, const QString& reason) {
    const QString text = QStringLiteral("The server list could not be downloaded from:") + CrLf() +
                         address + CrLf() + CrLf() + QStringLiteral("Reason: ") + reason + CrLf() +
                         CrLf() +
                         QStringLiteral("Nothing was saved; your server list is unchanged.");
    return {text, MsgBoxIcon::Exclamation, QStringLiteral("Oops")};
}

MsgBoxRequest ListSavedBox(const QString& savedPath) {
    const QString text = QStringLiteral("The new server list was saved as:") + CrLf() + savedPath +
                         CrLf() + CrLf() +
                         QStringLiteral("Please restart Horlan to reflect your changes.");
    return {text, MsgBoxIcon::Information, QStringLiteral("Thank you")};
}

QString FolderLinkToolTip() {
    return QStringLiteral(" Click here to open this location in the file manager ");
}

} // namespace horlan
