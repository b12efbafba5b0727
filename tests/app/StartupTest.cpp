// The checks that decide whether the program may start, on their own and through the window.

#include "MainWindowHarness.h"

#include "app/StartupChecks.h"
#include "netstatus/InternetConnectionState.h"
#include "runtime/ErrorReport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QTimer>

using namespace horlan;

namespace {

// Runs the checks; the boxes shown, and whether the program may run.
std::pair<bool, QList<MsgBoxRequest>> Check(ConnectionAnswer answer, bool otherCopy = false) {
    FakePreviousInstance previous;
    previous.Running = otherCopy;
    FakeConnectionState source;
    source.Answer = answer;
    InternetConnectionState connection(source);
    RecordingMsgBox msgBox;
    RecordingEnd end;
    const bool runs = Form_Initialize(previous, connection, msgBox, end);
    EXPECT_EQ(end.Count, runs ? 0 : 1);
    // All three questions, unless one fails.
    EXPECT_EQ(source.Calls, otherCopy ? 0 : answer.ErrorNumber != 0 ? 1 : 3);
    return {runs, msgBox.Boxes};
}

using Boxes = QList<MsgBoxRequest>;

} // namespace

TEST(StartupChecks, AnyConnectionLetsTheProgramRun) {
    // LAN, modem only, proxy only, the LAN flag without the overall answer.
    for (const auto answer :
         {ConnectionAnswer{true, 2u, 0}, {false, 1u, 0}, {true, 0u, 0}, {false, 2u, 0}}) {
        EXPECT_EQ(Check(answer), std::pair(true, Boxes()));
    }
}

TEST(StartupChecks, NoConnectionOrAnotherCopyEnds) {
    // No connection, flags never written, the library (53) or its entry point (453) missing.
    for (const auto answer : {ConnectionAnswer{false, 0u, 0},
                              {false, std::nullopt, 0},
                              {false, 0u, 53},
                              {false, 0u, 453}}) {
        EXPECT_EQ(Check(answer), std::pair(false, Boxes{NoConnectionBox()}));
    }
    const MsgBoxRequest running{QStringLiteral("Horlan is already running."),
                                MsgBoxIcon::Information, QStringLiteral("Horlan")};
    EXPECT_EQ(Check({true, 2u, 0}, true), std::pair(false, Boxes{running}));
}

TEST(StartupChecks, UnexpectedFailuresAreReportedAndTheProgramRuns) {
    const MsgBoxRequest reinstall{
        QStringLiteral("An Error was generated:\r\nDescription: Error 339 - Component not "
                       "correctly registered\r\n\r\nRe-install the program to fix this."),
        MsgBoxIcon::None, QStringLiteral("Error")};
    EXPECT_EQ(Check({false, 0u, 339}), std::pair(true, Boxes{reinstall}));
    const RuntimeError error(50003, StandardDescription(50003));
    EXPECT_EQ(Check({false, 0u, 50003}),
              std::pair(true, Boxes{ReinstallReport(error, ReinstallOrRuntimesAdvice())}));
    const RuntimeError other(5, StandardDescription(5));
    EXPECT_EQ(Check({false, 0u, 5}),
              std::pair(true, Boxes{CommonErrorReport(other, QStringLiteral("Form_Initialize"))}));
}

TEST_F(MainWindowTest, NoConnectionEndsBeforeTheWindowLoads) {
    connection.Answer = {false, 0u, 0};
    EXPECT_EQ(Open(), nullptr);
    EXPECT_FALSE(QFile::exists(ListFile())); // the load step never ran
}

TEST_F(MainWindowTest, ConnectionStatusFromTheMenuShowsFreshAnswers) {
    ASSERT_NE(Open(), nullptr);
    connection.Answer = {true, 0u, 0}; // proxy only, since start-up
    QList<bool> ticks;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        for (int i = 1; dialog && i <= 3; ++i) {
            ticks.append(
                dialog->findChild<QCheckBox*>(QStringLiteral("Check%1").arg(i))->isChecked());
        }
        dialog ? dialog->accept() : void();
    });
    Child<QAction>("menuShowConnectionStatus")->trigger();
    EXPECT_EQ(ticks, (QList<bool>{true, false, false}));
}
