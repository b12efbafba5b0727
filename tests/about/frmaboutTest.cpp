#include "about/frmabout.h"

#include "support/RecordingShell.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

TEST(frmabout, OkClosesTheLinkAlsoMinimisesAndOpensTheSite) {
    enum How { Ok, Click, TabThenEnter };
    for (const How how : {Ok, Click, TabThenEnter}) {
        SCOPED_TRACE(how);
        RecordingShell shell;
        QWidget main;
        main.show();
        frmabout dlg(shell, &main, &main);
        // 1.0.0.4 without its third number.
        EXPECT_EQ(dlg.findChild<QLabel*>("lblversion")->text(), QStringLiteral("Version 1.0.4"));
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        if (how == Click) {
            QTest::mouseClick(dlg.findChild<QLabel*>("lblurl"), Qt::LeftButton);
        } else if (how == TabThenEnter) { // the link is reached and followed by keyboard
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
        } else {
            dlg.findChild<QPushButton*>("cmdOK")->click();
        }
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(main.isMinimized(), how != Ok);
        EXPECT_EQ(shell.OpenedUrls,
                  QList<QUrl>(how != Ok, QUrl(QStringLiteral("https://vantorel.example/"))));
    }
}
