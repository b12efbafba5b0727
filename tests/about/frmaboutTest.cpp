#include "about/frmabout.h"

#include "support/RecordingShell.h"

#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

QLabel* Label(QWidget& form, const char* name) {
    auto* label = form.findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label;
}

} // namespace

TEST(frmabout, ShowsItsTextsInFullOnLoad) {
    RecordingShell shell;
    frmabout dlg(shell, nullptr);
    const QString year = QString::number(QDate::currentDate().year());
    const struct {
        const char* label;
        QString text;
    } rows[] = {
        {"lblprogtitle", QStringLiteral("Horlan")},
        // Major, minor and the fourth number of 1.0.0.4; the third one is left out.
        {"lblversion", QStringLiteral("Version 1.0.4")},
        {"lblnotice", QStringLiteral("Copyright \u00A9 2000 - ") + year},
        {"lblauthor", QStringLiteral("Vantorel software")},
        {"lbltext3", QStringLiteral("Play and enjoy!")},
        {"lbltext4", QStringLiteral("For updates and other freeware,")},
        {"lbltext5", QStringLiteral("Visit my homepage at")},
        {"lblurl", QStringLiteral("https://vantorel.example/")},
    };
    for (const auto& row : rows) {
        QLabel* label = Label(dlg, row.label);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), row.text) << row.label;
    }
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(dlg.size(), QSize(220, 293));
    EXPECT_FALSE(dlg.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST(frmabout, OkClosesByClickAndByAltO) {
    const struct {
        const char* how;
        void (*act)(frmabout&);
    } rows[] = {
        {"click", [](frmabout& d) { d.findChild<QPushButton*>("cmdOK")->click(); }},
        {"Alt+O",
         [](frmabout& d) { QTest::keyClick(d.windowHandle(), Qt::Key_O, Qt::AltModifier); }},
    };
    for (const auto& row : rows) {
        RecordingShell shell;
        QWidget main;
        main.show();
        frmabout dlg(shell, &main, &main);
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg)) << row.how;
        row.act(dlg);
        // A mnemonic presses the button with a short animation, so the close comes later.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); })) << row.how;
        EXPECT_FALSE(main.isMinimized()) << row.how;
        EXPECT_TRUE(shell.OpenedUrls.isEmpty()) << row.how;
    }
}

TEST(frmabout, LinkClickMinimisesTheMainWindowOpensTheSiteAndCloses) {
    const struct {
        const char* name;
        Qt::MouseButton button;
        bool browserOpens;
        bool followed;
    } rows[] = {
        {"left click", Qt::LeftButton, true, true},
        {"left click, no browser", Qt::LeftButton, false, true},
        {"right click", Qt::RightButton, true, false},
        {"Tab from Ok, then Enter", Qt::NoButton, true, true},
    };
    for (const auto& row : rows) {
        RecordingShell shell;
        shell.OpenSucceeds = row.browserOpens;
        QWidget main;
        main.show();
        frmabout dlg(shell, &main, &main);
        dlg.show();
        if (row.button == Qt::NoButton) {
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Tab);
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Return);
        } else {
            QTest::mouseClick(Label(dlg, "lblurl"), row.button);
        }

        EXPECT_EQ(main.isMinimized(), row.followed) << row.name;
        EXPECT_EQ(dlg.isVisible(), !row.followed) << row.name;
        const QList<QUrl> expected =
            row.followed ? QList<QUrl>{QUrl(QStringLiteral("https://vantorel.example/"))}
                         : QList<QUrl>{};
        EXPECT_EQ(shell.OpenedUrls, expected) << row.name;
    }
}

TEST(frmabout, PointerIsTheHandOverTheLinkOnly) {
    RecordingShell shell;
    frmabout dlg(shell, nullptr);
    const QCursor link = Label(dlg, "lblurl")->cursor();
    ASSERT_EQ(link.shape(), Qt::BitmapCursor);
    EXPECT_EQ(link.pixmap().size(), QSize(32, 32));
    // The hot spot is the fingertip, inside the picture's top half.
    EXPECT_LT(link.hotSpot().y(), 16);
    for (const char* other : {"lblprogtitle", "lbltext5", "lblversion"}) {
        EXPECT_EQ(Label(dlg, other)->cursor().shape(), Qt::ArrowCursor) << other;
    }
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
}
