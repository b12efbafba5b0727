#include "serverlist/ListUpdateTexts.h"

#include "runtime/AppInfo.h"

#include <QCoreApplication>

namespace horlan {

namespace {

QString CrLf() {
    return QString::fromLatin1(vbCrLf);
}

QString Oops() {
    return QCoreApplication::translate("ListUpdateTexts", "Oops");
}

QString ThankYou() {
    return QCoreApplication::translate("ListUpdateTexts", "Thank you");
}

QString RestartToApply() {
    return QCoreApplication::translate("ListUpdateTexts",
                                       "Please restart Horlan to reflect your changes.");
}

} // namespace

MsgBoxRequest FileMissingBox(const QString& listFilePath) {
    const QString text =
        QCoreApplication::translate("ListUpdateTexts", "File missing:") + CrLf() + listFilePath +
        CrLf() + CrLf() +
        QCoreApplication::translate(
            "ListUpdateTexts",
            "Please get the LIST.TXT file from the original Horlan.zip file "
            "and copy it into the Vantorel software\\Horlan application data folder, "
            "or download a new version via the Update menu and guide it to the "
            "Vantorel software\\Horlan application data folder.");
    return {text, MsgBoxIcon::Exclamation,
            QCoreApplication::translate("ListUpdateTexts", "File missing: LIST.TXT")};
}

MsgBoxRequest RestartToApplyBox() {
    return {RestartToApply(), MsgBoxIcon::Information, ThankYou()};
}

MsgBoxRequest EditorNotStartedBox(const QString& listFilePath) {
    const QString text =
        QCoreApplication::translate("ListUpdateTexts",
                                    "No text editor could be started to open the server list:") +
        CrLf() + listFilePath + CrLf() + CrLf() +
        QCoreApplication::translate("ListUpdateTexts",
                                    "Please open this file with a text editor of your choice.");
    return {text, MsgBoxIcon::Exclamation, Oops()};
}

MsgBoxRequest DownloadFailedBox(const QString& address, const QString& reason) {
    const QString text =
        QCoreApplication::translate("ListUpdateTexts",
                                    "The server list could not be downloaded from:") +
        CrLf() + address + CrLf() + CrLf() +
        QCoreApplication::translate("ListUpdateTexts", "Reason: ") + reason + CrLf() + CrLf() +
        QCoreApplication::translate("ListUpdateTexts",
                                    "Nothing was saved; your server list is unchanged.");
    return {text, MsgBoxIcon::Exclamation, Oops()};
}

MsgBoxRequest ListSavedBox(const QString& savedPath) {
    const QString text =
        QCoreApplication::translate("ListUpdateTexts", "The new server list was saved as:") +
        CrLf() + savedPath + CrLf() + CrLf() + RestartToApply();
    return {text, MsgBoxIcon::Information, ThankYou()};
}

QString FolderLinkToolTip() {
    return QCoreApplication::translate("ListUpdateTexts",
                                       " Click here to open this location in the file manager ");
}

} // namespace horlan
