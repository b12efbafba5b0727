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

    QList<QCheckBox*> Boxes() {
        QList<QCheckBox*> ticks;
        for (int number = 1; number <= 3; ++number) {
            ticks.append(dialog.findChild<QCheckBox*>(QStringLiteral("Check%1").arg(number)));
        }
        return ticks;
    }
    QList<bool> Ticks() {
        return {Boxes()[0]->isChecked(), Boxes()[1]->isChecked(), Boxes()[2]->isChecked()};
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
        {"connection lost", {{false, 0u}, {false, 0u}, {false, 0u}}, {false, false, false}},
        {"answers change between queries",
         {{false, 3u}, {true, 0u}, {true, 1u}},
         {false, false, true}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Window w;
        w.source.Script = row.script;
        EXPECT_TRUE(w.dialog.Form_Load());
        EXPECT_EQ(w.Ticks(), row.ticks);
        EXPECT_TRUE(w.boxes.Boxes.isEmpty());
    }
}

// The first tick is set, then the second query fails.
TEST(frmInfo, LoadFailuresChooseTheirReactionByNumber) {
    const RuntimeError mismatch(ErrTypeMismatch, StandardDescription(ErrTypeMismatch));
    const struct {
        int number;
        MsgBoxRequest box;
        bool loads;
        int ends;
    } rows[] = {
        {ErrEntryPointNotFound, NoConnectionBox(), false, 1},
        {ErrTypeMismatch, CommonErrorReport(mismatch, QStringLiteral("frmInfo - Form_Load")), true,
         0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        Window w;
        w.source.Script = {{true, 0u}, {false, std::nullopt, row.number}};
        EXPECT_EQ(w.dialog.Form_Load(), row.loads);
        EXPECT_EQ(w.boxes.Boxes, QList<MsgBoxRequest>{row.box});
        EXPECT_EQ(w.end.Count, row.ends);
        EXPECT_EQ(w.Ticks(), (QList<bool>{true, false, false}));
    }
}

TEST(frmInfo, TicksCannotBeChangedAndOnlyEnterCloses) {
    Window w;
    w.source.Answer = {true, 2u};
    ASSERT_TRUE(w.dialog.Form_Load());
    w.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.dialog));
    EXPECT_EQ(w.dialog.windowTitle(), frmInfoCaption());
    for (QCheckBox* box : w.Boxes()) {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(&w.dialog, Qt::Key_Tab);
        QTest::keyClick(&w.dialog, Qt::Key_Space);
        EXPECT_FALSE(qobject_cast<QCheckBox*>(QApplication::focusWidget()));
    }
    EXPECT_EQ(w.Ticks(), (QList<bool>{true, true, false}));

    QSignalSpy finished(&w.dialog, &QDialog::finished);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(finished.count(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(w.dialog.result(), QDialog::Accepted);
}
