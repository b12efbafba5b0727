#include "runtime/QtMsgBox.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace horlan;

TEST(QtMsgBox, ShowsCrLfAsLineBreaksAndDefaultsTheTitle) {
    const struct {
        MsgBoxRequest request;
        const char *shownText, *shownTitle;
        QMessageBox::Icon icon;
    } rows[] = {
        {{"a\r\nb", MsgBoxIcon::Exclamation, "Oops"}, "a\nb", "Oops", QMessageBox::Warning},
        {{"Incorrect Format:\n\nX", MsgBoxIcon::None, {}},
         "Incorrect Format:\n\nX",
         "Horlan",
         QMessageBox::NoIcon},
        {{"x", MsgBoxIcon::Critical, "Invalid Response "},
         "x",
         "Invalid Response ",
         QMessageBox::Critical},
        {{"y", MsgBoxIcon::Information, "Horlan"}, "y", "Horlan", QMessageBox::Information},
    };
    for (const auto& row : rows) {
        QMessageBox box;
        QtMsgBox::Configure(box, row.request);
        EXPECT_EQ(box.text(), QLatin1String(row.shownText));
        EXPECT_EQ(box.windowTitle(), QLatin1String(row.shownTitle));
        EXPECT_EQ(box.icon(), row.icon);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    }
}
