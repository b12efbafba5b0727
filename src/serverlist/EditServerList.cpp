#include "serverlist/EditServerList.h"

#include "runtime/MsgBox.h"
#include "runtime/Shell.h"
#include "serverlist/ListUpdateTexts.h"
#include "serverlist/ServerListFile.h"

namespace horlan {

void EditServerList(Shell& shell, MsgBox& msgBox, const QString& fallbackFolder) {
    const QString path = ListFilePath(fallbackFolder);
    if (!fileexists(path)) {
        msgBox.Show(FileMissingBox(path));
        return;
    }
    const EditorCommand editor = TextEditorCommand(path);
    if (!shell.StartDetached(editor.Program, editor.Arguments)) {
        msgBox.Show(EditorNotStartedBox(path));
        return;
    }
    msgBox.Show(RestartToApplyBox());
}

} // namespace horlan
