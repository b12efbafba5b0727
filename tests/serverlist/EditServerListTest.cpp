#include "serverlist/EditServerList.h"

#include "serverlist/ListUpdateTexts.h"
#include "storage/appdata.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace horlan;

TEST(EditServerList, OpensTheListInTheEditorOrSaysWhyNot) {
    enum ListState { Missing, File, Folder };
    const struct {
        const char* name;
        ListState list;
        bool editorStarts;
        MsgBoxRequest (*box)(const QString& path);
        int editorsStarted;
    } rows[] = {
        {"list present", File, true, [](const QString&) { return RestartToApplyBox(); }, 1},
        {"list missing", Missing, true, FileMissingBox, 0},
        {"a folder named list.txt", Folder, true, FileMissingBox, 0},
        {"no editor", File, false, EditorNotStartedBox, 1},
    };
    for (const auto& row : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        const QString fallback = data.Path() + QStringLiteral("/program");
        const QString path = GetAppDataFolder(fallback) + QStringLiteral("list.txt");
        ASSERT_TRUE(row.list != File || QFile(path).open(QIODevice::WriteOnly)) << row.name;
        ASSERT_TRUE(row.list != Folder || QDir().mkpath(path)) << row.name;
        RecordingShell shell;
        shell.StartSucceeds = row.editorStarts;
        RecordingMsgBox msgBox;
        EditServerList(shell, msgBox, fallback);
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
