#include "netstatus/frmInfo.h"

#include "netstatus/NetstatusTexts.h"
#include "runtime/ErrorReport.h"
#include "support/FakeConnectionState.h"
#include "support/Recorders.h"

#include <QCheckBox>
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

    QList<bool> Ticks() {
        QList<bool> ticks;
        for (const char* name : {"Check1", "Check2", "Check3"}) {
            ticks.append(dialog.findChild<QCheckBox*>(QLatin1String(name))->isChecked());
        }
        return ticks;
    }
};

} // namespace

TEST(frmInfo, TicksFollowThreeSeparateQueries) {
    const struct {
        QList<ConnectionAnswer> script;
        QList<bool> ticks;
    } rows[] = {
        {{{true, 2u}, {true, 2u}, {true, 2u}}, {true, true, false}},
        {{{false, 0u}, {false, 0u}, {false, 0u}}, {false, false, false}},
        {{{false, 3u}, {true, 0u}, {true, 1u}}, {false, false, true}}, // changing answers
    };
    for (const auto& row : rows) {
        Window w;
        w.source.Script = row.script;
        EXPECT_TRUE(w.dialog.Form_Load());
        EXPECT_EQ(w.Ticks(), row.ticks);
        EXPECT_TRUE(w.boxes.Boxes.isEmpty());
    }
}

// The first tick is set, then the second query fails: a missing facility ends the program,
// any other error is reported and the dialog still loads.
TEST(frmInfo, LoadFailuresChooseTheirReactionByNumber) {
    const RuntimeError mismatch(ErrTypeMismatch, StandardDescription(ErrTypeMismatch));
    const struct {
        int number;
        MsgBoxRequest box;
        bool loads;
    } rows[] = {
        {ErrEntryPointNotFound, NoConnectionBox(), false},
        {ErrTypeMismatch, CommonErrorReport(mismatch, QStringLiteral("frmInfo - Form_Load")), true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.number);
        Window w;
        w.source.Script = {{true, 0u}, {false, std::nullopt, row.number}};
        EXPECT_EQ(w.dialog.Form_Load(), row.loads);
        EXPECT_EQ(w.boxes.Boxes, QList<MsgBoxRequest>{row.box});
        EXPECT_EQ(w.end.Count, row.loads ? 0 : 1);
        EXPECT_EQ(w.Ticks(), (QList<bool>{true, false, false}));
    }
}

TEST(frmInfo, TicksCannotBeChangedAndOnlyEnterCloses) {
    Window w;
    w.source.Answer = {true, 2u};
    ASSERT_TRUE(w.dialog.Form_Load());
    w.dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.dialog));
    for (QCheckBox* box : w.dialog.findChildren<QCheckBox*>()) {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_Space);
    }
    EXPECT_EQ(w.Ticks(), (QList<bool>{true, true, false}));
    QSignalSpy finished(&w.dialog, &QDialog::finished);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(finished.count(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(w.dialog.result(), QDialog::Accepted);
}
