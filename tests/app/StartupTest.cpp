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

TEST(StartupChecks, WhoMayStart) {
    const QString crlf = QStringLiteral("\r\n");
    const struct {
        const char* name;
        bool otherCopy;
        ConnectionAnswer answer;
        bool runs;
        std::optional<MsgBoxRequest> box;
    } rows[] = {
        {"LAN", false, {true, 2u, 0}, true, std::nullopt},
        {"modem only", false, {false, 1u, 0}, true, std::nullopt},
        {"proxy only", false, {true, 0u, 0}, true, std::nullopt},
        {"LAN flag without the overall answer", false, {false, 2u, 0}, true, std::nullopt},
        {"no connection", false, {false, 0u, 0}, false, NoConnectionBox()},
        {"flags never written", false, {false, std::nullopt, 0}, false, NoConnectionBox()},
        {"another copy",
         true,
         {true, 2u, 0},
         false,
         MsgBoxRequest{QStringLiteral("Horlan is already running."), MsgBoxIcon::Information,
                       QStringLiteral("Horlan")}},
        {"library missing (53)", false, {false, 0u, 53}, false, NoConnectionBox()},
        {"entry point missing (453)", false, {false, 0u, 453}, false, NoConnectionBox()},
        {"component (339)",
         false,
         {false, 0u, 339},
         true,
         MsgBoxRequest{
             QStringLiteral("An Error was generated:") + crlf +
                 QStringLiteral("Description: Error 339 - Component not correctly registered") +
                 crlf + crlf + QStringLiteral("Re-install the program to fix this."),
             MsgBoxIcon::None, QStringLiteral("Error")}},
        {"unexpected (50003)",
         false,
         {false, 0u, 50003},
         true,
         MsgBoxRequest{QStringLiteral("An Error was generated:") + crlf +
                           QStringLiteral("Description: Error 50003 - Unexpected error") + crlf +
                           crlf +
                           QStringLiteral("Re-install the program to fix this, or get the latest "
                                          "vbruntimes at Vantorel."),
                       MsgBoxIcon::None, QStringLiteral("Error")}},
        {"other (5)",
         false,
         {false, 0u, 5},
         true,
         CommonErrorReport(RuntimeError(5, StandardDescription(5)),
                           QStringLiteral("Form_Initialize"))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FakePreviousInstance previous;
        previous.Running = row.otherCopy;
        FakeConnectionState source;
        source.Answer = row.answer;
        InternetConnectionState connection(source);
        RecordingMsgBox msgBox;
        RecordingEnd end;

        EXPECT_EQ(Form_Initialize(previous, connection, msgBox, end), row.runs);
        EXPECT_EQ(end.Count, row.runs ? 0 : 1);
        if (row.box) {
            ASSERT_EQ(msgBox.Boxes.size(), 1);
            EXPECT_EQ(msgBox.Boxes[0], *row.box);
        } else {
            EXPECT_TRUE(msgBox.Boxes.isEmpty()) << msgBox.Boxes.value(0);
            EXPECT_EQ(source.Calls, 3); // all three questions, always
        }
    }
}

TEST(StartupChecks, NegativeNumberIsSignPadded) {
    const auto box = ReinstallReport(RuntimeError(-20, QStringLiteral("x")), ReinstallAdvice());
    EXPECT_TRUE(box.Prompt.contains(QStringLiteral("Description: Error-20 - x\r\n"))) << box;
}

TEST_F(MainWindowTest, NoConnectionEndsBeforeTheWindowLoads) {
    connection.Answer = {false, 0u, 0};
    EXPECT_EQ(Open(), nullptr);
    EXPECT_EQ(end.Count, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(QFile::exists(ListFile())); // the load step never ran
}

TEST_F(MainWindowTest, AfterAReportTheWindowStillLoads) {
    connection.Script = {{false, 0u, 339}};
    ASSERT_NE(Open(), nullptr);
    EXPECT_EQ(msgBox.Boxes.size(), 1);
    EXPECT_EQ(Combo1()->count(), 14);
    EXPECT_EQ(end.Count, 0);
}

TEST_F(MainWindowTest, ConnectionStatusFromTheMenuShowsFreshAnswers) {
    ASSERT_NE(Open(), nullptr);
    connection.Answer = {true, 0u, 0}; // proxy only, since start-up
    QList<bool> ticks;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        title = dialog->windowTitle();
        for (const char* name : {"Check1", "Check2", "Check3"}) {
            ticks.append(dialog->findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked());
        }
        dialog->accept();
    });
    Child<QAction>("menuShowConnectionStatus")->trigger();
    EXPECT_EQ(title, QStringLiteral("Internet Connection Status"));
    EXPECT_EQ(ticks, (QList<bool>{true, false, false}));
}
