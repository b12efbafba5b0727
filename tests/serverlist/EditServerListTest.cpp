#include "serverlist/EditServerList.h"

#include "serverlist/ListUpdateTexts.h"
#include "storage/appdata.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include <QDir>
#include <QTest>

#include <optional>

#include <gtest/gtest.h>

using namespace horlan;

TEST(EditServerList, OpensTheListInTheEditorOrSaysWhyNot) {
    enum ListState { Missing, File, Folder };
    const struct {
        const char* name;
        ListState list;
        std::optional<int> opener; // its exit status; none when it cannot start
        MsgBoxRequest (*box)(const QString& path);
        int editorsStarted;
    } rows[] = {
        {"list present", File, 0, [](const QString&) { return RestartToApplyBox(); }, 1},
        {"list missing", Missing, 0, FileMissingBox, 0},
        {"a folder named list.txt", Folder, 0, FileMissingBox, 0},
        {"no opener", File, std::nullopt, EditorNotStartedBox, 1},
        {"opener found no editor", File, 3, EditorNotStartedBox, 1},
    };
    for (const auto& row : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        const QString fallback = data.Path() + QStringLiteral("/program");
        const QString path = GetAppDataFolder(fallback) + QStringLiteral("list.txt");
        ASSERT_TRUE(row.list != File || QFile(path).open(QIODevice::WriteOnly)) << row.name;
        ASSERT_TRUE(row.list != Folder || QDir().mkpath(path)) << row.name;
        RecordingShell shell;
        shell.StartSucceeds = row.opener.has_value();
        shell.ExitStatus = row.opener.value_or(0);
        RecordingMsgBox msgBox;
        QObject context;
        EditServerList(shell, msgBox, fallback, &context);
        EXPECT_EQ(msgBox.Boxes.size(), row.editorsStarted ? 0 : 1) << row.name << ": box too early";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !msgBox.Boxes.isEmpty(); }, 1000)) << row.name;
        // The path is one argument, spaces and all ("Vantorel software"); no shell splits it.
        const RecordingShell::Start editor{QStringLiteral("xdg-open"), {path}};
        EXPECT_EQ(shell.Started, QList<RecordingShell::Start>(row.editorsStarted, editor))
            << row.name;
        EXPECT_EQ(msgBox.Boxes, QList<MsgBoxRequest>{row.box(path)}) << row.name;
    }
}

TEST(EditServerList, TheMissingFileBoxSaysWhatToDo) {
    const QString path = QStringLiteral("/d/Vantorel software/Horlan/list.txt");
    EXPECT_EQ(FileMissingBox(path),
              (MsgBoxRequest{
                  QStringLiteral("File missing:\r\n") + path +
                      QStringLiteral("\r\n\r\nPlease get the LIST.TXT file from the original "
                                     "Horlan.zip file and copy it into the Vantorel "
                                     "software\\Horlan application data folder, or download a new "
                                     "version via the Update menu and guide it to the Vantorel "
                                     "software\\Horlan application data folder."),
                  MsgBoxIcon::Exclamation, QStringLiteral("File missing: LIST.TXT")}));
}
