#include "runtime/QtMsgBox.h"
#include "runtime/AppInfo.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace horlan;

// CR LF becomes a line break and the text is shown as written, markup included; an empty
// title is the program's.
TEST(QtMsgBox, ShowsTheTextAsWrittenWithLineBreaks) {
    const struct {
        MsgBoxRequest request;
        QString text;
        QString title;
        QMessageBox::Icon icon;
    } rows[] = {
        {{"a\r\n\r\nb <b>c</b> &amp;", MsgBoxIcon::Exclamation, "Oops"},
         "a\n\nb <b>c</b> &amp;",
         "Oops",
         QMessageBox::Warning},
        {{"bare\nLF", MsgBoxIcon::Critical}, "bare\nLF", AppTitle(), QMessageBox::Critical},
    };
    for (const auto& row : rows) {
        QMessageBox box;
        QtMsgBox::Configure(box, row.request);
        EXPECT_EQ(box.text(), row.text);
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.windowTitle(), row.title);
        EXPECT_EQ(box.icon(), row.icon);
    }
}
