#include "netstatus/frmInfo.h"

#include "runtime/ErrorReport.h"
#include "support/FakeConnectionState.h"
#include "support/Recorders.h"

#include <QCheckBox>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

// Three separate queries set the three ticks, which the user cannot change. When the second fails,
// a missing facility ends the program and any other error is reported while the dialog still loads.
TEST(frmInfo, TicksFollowThreeSeparateQueries) {
    const RuntimeError mismatch(ErrTypeMismatch, StandardDescription(ErrTypeMismatch));
    const struct {
        QList<ConnectionAnswer> script;
        QList<bool> ticks;
        QList<MsgBoxRequest> boxes;
        bool loads;
    } rows[] = {
        {{{true, 2u}, {true, 2u}, {true, 2u}}, {true, true, false}, {}, true},
        {{{false, 3u}, {true, 0u}, {true, 1u}}, {false, false, true}, {}, true},
        {{{true, 0u}, {false, std::nullopt, ErrEntryPointNotFound}},
         {true, false, false},
         {NoConnectionBox()},
         false},
        {{{true, 0u}, {false, std::nullopt, ErrTypeMismatch}},
         {true, false, false},
         {CommonErrorReport(mismatch, QStringLiteral("frmInfo - Form_Load"))},
         true},
    };
    for (const auto& row : rows) {
        FakeConnectionState source;
        source.Script = row.script;
        InternetConnectionState state(source);
        RecordingMsgBox boxes;
        RecordingEnd end;
        frmInfo dialog(state, boxes, end);
        EXPECT_EQ(dialog.Form_Load(), row.loads);
        dialog.show();
        QList<bool> ticks;
        for (const char* name : {"Check1", "Check2", "Check3"}) {
            auto* box = dialog.findChild<QCheckBox*>(QLatin1String(name));
            // Indicators only: neither a click nor the space bar changes them.
            const bool shown = box->isChecked();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            EXPECT_EQ(box->isChecked(), shown) << name;
            QTest::keyClick(box, Qt::Key_Space);
            ticks.append(box->isChecked());
        }
        EXPECT_EQ(ticks, row.ticks);
        EXPECT_EQ(boxes.Boxes, row.boxes);
        EXPECT_EQ(end.Count, row.loads ? 0 : 1);
    }
}
