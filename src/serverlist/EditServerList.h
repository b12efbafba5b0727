#pragma once

#include <QString>
#include <QStringList>

namespace horlan {

class MsgBox;
class Shell;

// A program and its arguments, each argument handed over as it is (no shell parses them).
struct EditorCommand {
    QString Program;
    QStringList Arguments;
};

// How this platform opens `filePath` in the user's text editor.
EditorCommand TextEditorCommand(const QString& filePath);

// "&Edit server list": opens list.txt in the user's text editor without waiting for it and
// asks for a restart; a missing list file or an editor that cannot be started is reported
// instead. `fallbackFolder` is the program's own folder, used when the data folder is not.
void EditServerList(Shell& shell, MsgBox& msgBox, const QString& fallbackFolder);

} // namespace horlan
