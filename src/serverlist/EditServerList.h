#pragma once

#include <QString>
#include <QStringList>

class QObject;

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

// "&Edit server list": opens list.txt in the user's text editor and, once the opener has told
// whether that worked, asks for a restart or says that no editor could be started; a missing
// list file is reported at once. Returns without waiting. `fallbackFolder` is the program's
// own folder, used when the data folder is not; no box follows once `context` is gone.
void EditServerList(Shell& shell, MsgBox& msgBox, const QString& fallbackFolder, QObject* context);

} // namespace horlan
