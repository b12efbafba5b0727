#include "serverlist/EditServerList.h"

#include "serverlist/ListUpdateTexts.h"
#include "storage/appdata.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

using namespace horlan;

namespace {

enum class ListState { Missing, File, Folder };

QString MissingPrompt(const QString& path) {
    return QStringLiteral("File missing:\r\n") + path +
           QStringLiteral(
               "\r\n\r\nPlease get the LIST.TXT file from the original Horlan.zip file and "
               "copy it into the Vantorel software\\Horlan application data folder, or "
               "download a new version via the Update menu and guide it to the Vantorel "
               "software\\Horlan application data folder.");
}

QString RestartPrompt(const QString&) {
    return QStringLiteral("Please restart Horlan to reflect your changes.");
}

QString NoEditorPrompt(const QString& path) {
    return EditorNotStartedBox(path).Prompt;
}

} // namespace

TEST(EditServerList, OpensTheListInTheEditorOrSaysWhyNot) {
    const struct {
        const char* name;
        ListState list;
        std::optional<int> opener; // its exit status; none when it cannot start
        bool editorTried;
        const char* title;
        MsgBoxIcon icon;
        QString (*prompt)(const QString& path);
    } rows[] = {
        {"list present", ListState::File, 0, true, "Thank you", MsgBoxIcon::Information,
         RestartPrompt},
        {"list missing", ListState::Missing, 0, false, "File missing: LIST.TXT",
         MsgBoxIcon::Exclamation, MissingPrompt},
        {"a folder named list.txt", ListState::Folder, 0, false, "File missing: LIST.TXT",
         MsgBoxIcon::Exclamation, MissingPrompt},
        {"no opener", ListState::File, std::nullopt, true, "Oops", MsgBoxIcon::Exclamation,
         NoEditorPrompt},
        {"opener found no editor", ListState::File, 3, true, "Oops", MsgBoxIcon::Exclamation,
         NoEditorPrompt},
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
        shell.StartSucceeds = row.opener.has_value();
        shell.ExitStatus = row.opener.value_or(0);
        RecordingMsgBox msgBox;
        QObject context;

        EditServerList(shell, msgBox, fallback, &context);
        EXPECT_EQ(msgBox.Boxes.size(), row.editorTried ? 0 : 1)
            << row.name << ": box before answer";
        ASSERT_TRUE(QTest::qWaitFor([&] { return !msgBox.Boxes.isEmpty(); }, 1000)) << row.name;

        // The path is one argument, spaces and all ("Vantorel software"); no shell splits it.
        const QList<RecordingShell::Start> started =
            row.editorTried ? QList<RecordingShell::Start>{{QStringLiteral("xdg-open"), {path}}}
                            : QList<RecordingShell::Start>{};
        EXPECT_EQ(shell.Started, started) << row.name;
        ASSERT_EQ(msgBox.Boxes.size(), 1) << row.name;
        EXPECT_EQ(msgBox.Boxes[0].Title, QString::fromLatin1(row.title)) << row.name;
        EXPECT_EQ(msgBox.Boxes[0].Icon, row.icon) << row.name;
        EXPECT_EQ(msgBox.Boxes[0].Prompt, row.prompt(path)) << row.name;
        if (row.prompt != RestartPrompt) {
            EXPECT_EQ(msgBox.Boxes[0].Prompt.split(QStringLiteral("\r\n")).value(1), path)
                << row.name << ": the box names the file on its second line";
        }
    }
}
