#include "about/frmabout.h"

#include "support/RecordingShell.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

TEST(frmabout, OkClosesTheLinkAlsoMinimisesAndOpensTheSite) {
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link);
        RecordingShell shell;
        QWidget main;
        main.show();
        frmabout dlg(shell, &main, &main);
        // 1.0.0.4 without its third number.
        EXPECT_EQ(dlg.findChild<QLabel*>("lblversion")->text(), QStringLiteral("Version 1.0.4"));
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        if (link) {
            QTest::mouseClick(dlg.findChild<QLabel*>("lblurl"), Qt::LeftButton);
        } else {
            dlg.findChild<QPushButton*>("cmdOK")->click();
        }
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(main.isMinimized(), link);
        EXPECT_EQ(shell.OpenedUrls,
                  QList<QUrl>(link, QUrl(QStringLiteral("https://vantorel.example/"))));
    }
}
