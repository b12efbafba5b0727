// The checks that decide whether the program may start, on their own and through the window.

#include "MainWindowHarness.h"

#include "app/StartupChecks.h"
#include "netstatus/InternetConnectionState.h"
#include "runtime/ErrorReport.h"

using namespace horlan;
using namespace Qt::StringLiterals;

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
    const MsgBoxRequest running{u"Horlan is already running."_s, MsgBoxIcon::Information,
                                u"Horlan"_s};
    EXPECT_EQ(Check({true, 2u, 0}, true), std::pair(false, Boxes{running}));
}

TEST(StartupChecks, UnexpectedFailuresAreReportedAndTheProgramRuns) {
    const MsgBoxRequest reinstall{
        QStringLiteral("An Error was generated:\r\nDescription: Error 339 - Component not "
                       "correctly registered\r\n\r\nRe-install the program to fix this."),
        MsgBoxIcon::None, u"Error"_s};
    EXPECT_EQ(Check({false, 0u, 339}), std::pair(true, Boxes{reinstall}));
    const RuntimeError other(5, StandardDescription(5));
    EXPECT_EQ(Check({false, 0u, 5}),
              std::pair(true, Boxes{CommonErrorReport(other, u"Form_Initialize"_s)}));
}

TEST_F(MainWindowTest, NoConnectionEndsBeforeTheWindowLoads) {
    connection.Answer = {false, 0u, 0};
    EXPECT_EQ(Open(), nullptr);
    EXPECT_FALSE(QFile::exists(ListFile())); // the load step never ran
}
