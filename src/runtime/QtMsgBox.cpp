#include "runtime/QtMsgBox.h"

#include "runtime/AppInfo.h"

#include <QApplication>
#include <QMessageBox>

namespace horlan {

namespace {

QMessageBox::Icon ToQt(MsgBoxIcon icon) {
    switch (icon) {
    case MsgBoxIcon::Critical:
        return QMessageBox::Critical;
    case MsgBoxIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxIcon::Information:
        return QMessageBox::Information;
    case MsgBoxIcon::Question:
        return QMessageBox::Question;
    case MsgBoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtMsgBox::Configure(QMessageBox& box, const MsgBoxRequest& request) {
    QString shown = request.Prompt;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(ToQt(request.Icon));
    box.setWindowTitle(request.Title.isEmpty() ? AppTitle() : request.Title);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    // Kept with the box for a help viewer; this platform has none for the program's errors.
    box.setProperty("helpFile", request.HelpFile);
    box.setProperty("helpContext", request.HelpContext);
}

void QtMsgBox::Show(const MsgBoxRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    Configure(box, request);
    box.exec();
}

} // namespace horlan

namespace horlan {

bool QtMsgBox::Ask(const MsgBoxRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    Configure(box, request);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace horlan
