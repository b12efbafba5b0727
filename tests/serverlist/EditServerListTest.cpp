#include "serverlist/EditServerList.h"

#include "storage/appdata.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

enum class ListState { Missing, File, Folder };

} // namespace

TEST(EditServerList, OpensTheListInTheEditorOrSaysWhyNot) {
    const struct {
        const char* name;
        ListState list;
        bool editorStarts;
        bool editorTried;
        const char* title;
        MsgBoxIcon icon;
    } rows[] = {
        {"list present", ListState::File, true, true, "Thank you", MsgBoxIcon::Information},
        {"list missing", ListState::Missing, true, false, "File missing: LIST.TXT",
         MsgBoxIcon::Exclamation},
        {"a folder named list.txt", ListState::Folder, true, false, "File missing: LIST.TXT",
         MsgBoxIcon::Exclamation},
        {"no editor", ListState::File, false, true, "Oops", MsgBoxIcon::Exclamation},
    };
    for (const auto& row : rows) {
        ScopedEnvFolder data("XDG_DATA_HOME");
        const QString fallback = data.Path() + QStringLiteral("/program");
        const QString path = GetAppDataFolder(fallback) + QStringLiteral("list.txt");
        if (row.list == ListState::File) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << row.name;
        } else if (row.list == ListState::Folder) {
            ASSERT_TRUE(QDir().mkpath(path)) << row.name;
        }
        RecordingShell shell;
        shell.StartSucceeds = row.editorStarts;
        RecordingMsgBox msgBox;

        EditServerList(shell, msgBox, fallback);

        // The path is one argument, spaces and all ("Vantorel software"); no shell splits it.
        const QList<RecordingShell::Start> started =
            row.editorTried ? QList<RecordingShell::Start>{{QStringLiteral("xdg-open"), {path}}}
                            : QList<RecordingShell::Start>{};
        EXPECT_EQ(shell.Started, started) << row.name;
        ASSERT_EQ(msgBox.Boxes.size(), 1) << row.name;
        EXPECT_EQ(msgBox.Boxes[0].Title, QString::fromLatin1(row.title)) << row.name;
        EXPECT_EQ(msgBox.Boxes[0].Icon, row.icon) << row.name;
        if (row.list != ListState::File || !row.editorStarts) {
            EXPECT_EQ(msgBox.Boxes[0].Prompt.split(QStringLiteral("\r\n")).value(1), path)
                << row.name << ": the box names the file on its second line";
        }
    }
}

TEST(EditServerList, BoxTextsAreExact) {
    ScopedEnvFolder data("XDG_DATA_HOME");
    const QString fallback = data.Path() + QStringLiteral("/program");
    const QString path = GetAppDataFolder(fallback) + QStringLiteral("list.txt");
    const struct {
        const char* name;
        bool create;
        QString prompt;
    } rows[] = {
        {"missing", false,
         QStringLiteral("File missing:\r\n") + path +
             QStringLiteral("\r\n\r\nPlease get the LIST.TXT file from the original Horlan.zip "
                            "file and copy it into the Vantorel software\\Horlan application data "
                            "folder, or download a new version via the Update menu and guide it "
                            "to the Vantorel software\\Horlan application data folder.")},
        {"present", true, QStringLiteral("Please restart Horlan to reflect your changes.")},
    };
    for (const auto& row : rows) {
        if (row.create) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        RecordingShell shell;
        RecordingMsgBox msgBox;
        EditServerList(shell, msgBox, fallback);
        ASSERT_EQ(msgBox.Boxes.size(), 1) << row.name;
        EXPECT_EQ(msgBox.Boxes[0].Prompt, row.prompt) << row.name;
    }
}
