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
    return form.findChild<QLabel*>(QString::fromLatin1(name));
}

} // namespace

TEST(frmabout, ShowsItsTextsInFullOnLoad) {
    RecordingShell shell;
    frmabout dlg(shell, nullptr);
    const struct {
        const char* label;
        QString text;
    } rows[] = {
        {"lblprogtitle", QStringLiteral("Horlan")},
        {"lblversion", QStringLiteral("Version 1.0.4")}, // 1.0.0.4 without its third number
        {"lblnotice",
         QStringLiteral("Copyright \u00A9 2000 - %1").arg(QDate::currentDate().year())},
        {"lblauthor", QStringLiteral("Vantorel software")},
        {"lbltext3", QStringLiteral("Play and enjoy!")},
        {"lbltext4", QStringLiteral("For updates and other freeware,")},
        {"lbltext5", QStringLiteral("Visit my homepage at")},
        {"lblurl", QStringLiteral("https://vantorel.example/")},
    };
    for (const auto& row : rows) {
        QLabel* label = Label(dlg, row.label);
        ASSERT_NE(label, nullptr) << row.label;
        EXPECT_EQ(label->text(), row.text) << row.label;
    }
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About"));
    EXPECT_FALSE(dlg.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // The pointing hand over the link only.
    const QCursor hand = Label(dlg, "lblurl")->cursor();
    EXPECT_EQ(hand.shape(), Qt::BitmapCursor);
    EXPECT_EQ(Label(dlg, "lbltext5")->cursor().shape(), Qt::ArrowCursor);
}

TEST(frmabout, OkAndTheLinkClose) {
    const struct {
        const char* name;
        void (*act)(frmabout&);
        bool browserOpens, followsLink;
    } rows[] = {
        {"Ok", [](frmabout& d) { d.findChild<QPushButton*>("cmdOK")->click(); }, true, false},
        {"Alt+O",
         [](frmabout& d) { QTest::keyClick(d.windowHandle(), Qt::Key_O, Qt::AltModifier); }, true,
         false},
        {"link", [](frmabout& d) { QTest::mouseClick(Label(d, "lblurl"), Qt::LeftButton); }, true,
         true},
        {"link, no browser",
         [](frmabout& d) { QTest::mouseClick(Label(d, "lblurl"), Qt::LeftButton); }, false, true},
        {"Tab from Ok, then Enter",
         [](frmabout& d) {
             QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
             QTest::keyClick(d.focusWidget(), Qt::Key_Return);
         },
         true, true},
    };
    for (const auto& row : rows) {
        RecordingShell shell;
        shell.OpenSucceeds = row.browserOpens;
        QWidget main;
        main.show();
        frmabout dlg(shell, &main, &main);
        dlg.show();
        dlg.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg)) << row.name;
        row.act(dlg);
        // A mnemonic presses the button with a short animation, so the close comes later.
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.isVisible(); })) << row.name;
        EXPECT_EQ(main.isMinimized(), row.followsLink) << row.name;
        EXPECT_EQ(shell.OpenedUrls,
                  QList<QUrl>(row.followsLink, QUrl(QStringLiteral("https://vantorel.example/"))))
            << row.name;
    }
}
