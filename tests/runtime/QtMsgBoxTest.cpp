#include "runtime/QtMsgBox.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace horlan;

TEST(QtMsgBox, ShowsCrLfAsLineBreaksAndDefaultsTheTitle) {
    QMessageBox box;
    QtMsgBox::Configure(box, {QStringLiteral("a\r\nb"), MsgBoxIcon::Exclamation, {}});
    EXPECT_EQ(box.text(), QStringLiteral("a\nb"));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Horlan"));
    EXPECT_EQ(box.icon(), QMessageBox::Warning);
}
