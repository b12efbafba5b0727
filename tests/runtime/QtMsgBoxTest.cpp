#include "runtime/QtMsgBox.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace horlan;

TEST(QtMsgBox, ShowsCrLfAsLineBreaksAndDefaultsTheTitle) {
    const struct {
        MsgBoxRequest request;
        const char* shownText;
        const char* shownTitle;
        QMessageBox::Icon icon;
    } rows[] = {
        {{QStringLiteral("a\r\nb"), MsgBoxIcon::Exclamation, QStringLiteral("Oops")},
         "a\nb",
         "Oops",
         QMessageBox::Warning},
        {{QStringLiteral("Incorrect Format:\n\nX"), MsgBoxIcon::None, {}},
         "Incorrect Format:\n\nX",
         "Horlan",
         QMessageBox::NoIcon},
        {{QStringLiteral("x"), MsgBoxIcon::Critical, QStringLiteral("Invalid Response ")},
         "x",
         "Invalid Response ",
         QMessageBox::Critical},
        {{QStringLiteral("y"), MsgBoxIcon::Information, QStringLiteral("Horlan")},
         "y",
         "Horlan",
         QMessageBox::Information},
    };
    for (const auto& row : rows) {
        QMessageBox box;
        QtMsgBox::Configure(box, row.request);
        EXPECT_EQ(box.text(), QString::fromLatin1(row.shownText));
        EXPECT_EQ(box.windowTitle(), QString::fromLatin1(row.shownTitle));
        EXPECT_EQ(box.icon(), row.icon);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    }
}
