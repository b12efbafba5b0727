#include "netstatus/frmInfo.h"

#include "netstatus/NetstatusTexts.h"
#include "runtime/ErrorReport.h"
#include "support/FakeConnectionState.h"
#include "support/Recorders.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

struct Window {
    FakeConnectionState source;
    InternetConnectionState state{source};
    RecordingMsgBox boxes;
    RecordingEnd end;
    frmInfo dialog{state, boxes, end};

    QCheckBox* Box(const char* name) {
        return dialog.findChild<QCheckBox*>(QString::fromLatin1(name));
    }
    QList<bool> Ticks() {
        return {Box("Check1")->isChecked(), Box("Check2")->isChecked(), Box("Check3")->isChecked()};
    }
};

} // namespace

TEST(frmInfo, TicksFollowThreeSeparateQueries) {
    const struct {
        const char* name;
        QList<ConnectionAnswer> script;
        QList<bool> ticks;
    } rows[] = {
        {"local network only", {{true, 2u}, {true, 2u}, {true, 2u}}, {true, true, false}},
        {"proxy only", {{true, 0u}, {true, 0u}, {true, 0u}}, {true, false, false}},
        {"modem only", {{true, 1u}, {true, 1u}, {true, 1u}}, {true, false, true}},
        {"connection lost", {{false, 0u}, {false, 0u}, {false, 0u}}, {false, false, false}},
        {"answers change between the queries",
         {{false, 3u}, {true, 0u}, {true, 1u}},
         {false, false, true}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Window w;
        w.source.Script = row.script;
        EXPECT_TRUE(w.dialog.Form_Load());
        EXPECT_EQ(w.Ticks(), row.ticks);
        EXPECT_EQ(w.source.Calls, 3);
        EXPECT_TRUE(w.boxes.Boxes.isEmpty());
        EXPECT_EQ(w.end.Count, 0);
    }
}

TEST(frmInfo, LoadFailuresChooseTheirReactionByNumber) {
    const struct {
        int number;
        bool loads;
        MsgBoxRequest box;
    } rows[] = {
        {ErrFileNotFound, false, NoConnectionBox()},
        {ErrEntryPointNotFound, false, NoConnectionBox()},
        {ErrTypeMismatch, true,
         CommonErrorReport(RuntimeError(ErrTypeMismatch, StandardDescription(ErrTypeMismatch)),
                           QStringLiteral("frmInfo - Form_Load"))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        Window w;
        // The first box is set, the second query fails.
        w.source.Script = {{true, 0u}, {false, std::nullopt, row.number}};
        EXPECT_EQ(w.dialog.Form_Load(), row.loads);
        ASSERT_EQ(w.boxes.Boxes.size(), 1);
        EXPECT_EQ(w.boxes.Boxes[0], row.box);
        EXPECT_EQ(w.end.Count, row.loads ? 0 : 1);
        EXPECT_EQ(w.source.Calls, 2);
        if (row.loads) {
            EXPECT_EQ(w.Ticks(), (QList<bool>{true, false, false}));
        }
    }
}

TEST(frmInfo, TicksCannotBeChangedByMouseOrKeyboard) {
    Window w;
    w.source.Answer = {true, 2u};
    ASSERT_TRUE(w.dialog.Form_Load());
    w.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.dialog));
    EXPECT_EQ(w.dialog.windowTitle(), frmInfoCaption());
    EXPECT_EQ(w.dialog.size(), QSize(327, 137));
    auto* ok = w.dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(ok->text(), QStringLiteral("&Ok"));

    for (const char* name : {"Check1", "Check2", "Check3"}) {
        SCOPED_TRACE(name);
        QCheckBox* box = w.Box(name);
        const bool before = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton);
        EXPECT_EQ(box->isChecked(), before);
        QTest::keyClick(&w.dialog, Qt::Key_Tab);
        QTest::keyClick(&w.dialog, Qt::Key_Space);
        EXPECT_FALSE(qobject_cast<QCheckBox*>(QApplication::focusWidget()));
        EXPECT_EQ(box->isChecked(), before);
    }
    EXPECT_EQ(w.Ticks(), (QList<bool>{true, true, false}));
}

TEST(frmInfo, EnterClosesAndEscapeDoesNot) {
    Window w;
    ASSERT_TRUE(w.dialog.Form_Load());
    w.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.dialog));
    QSignalSpy finished(&w.dialog, &QDialog::finished);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w.dialog,
                    Qt::Key_Escape);
    EXPECT_TRUE(w.dialog.isVisible());
    EXPECT_EQ(finished.count(), 0);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w.dialog,
                    Qt::Key_Return);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(w.dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(w.dialog.isVisible());
}
