#include "serverlist/EditServerList.h"

#include "runtime/MsgBox.h"
#include "runtime/Shell.h"
#include "serverlist/ListUpdateTexts.h"
#include "serverlist/ServerListFile.h"

namespace horlan {

void EditServerList(Shell& shell, MsgBox& msgBox, const QString& fallbackFolder, QObject* context) {
    const QString path = ListFilePath(fallbackFolder);
    if (!fileexists(path)) {
        msgBox.Show(FileMissingBox(path));
        return;
    }
    const EditorCommand editor = TextEditorCommand(path);
    // The opener's exit status says whether an editor could be started for the file.
    shell.StartAndReport(
        editor.Program, editor.Arguments, context, [&msgBox, path](std::optional<int> exitStatus) {
            msgBox.Show(exitStatus == 0 ? RestartToApplyBox() : EditorNotStartedBox(path));
        });
}

} // namespace horlan
