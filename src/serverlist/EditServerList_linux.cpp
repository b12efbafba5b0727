#include "serverlist/EditServerList.h"

namespace horlan {

// The desktop's handler for the file's type, which for a .txt file is the user's text editor.
EditorCommand TextEditorCommand(const QString& filePath) {
    return {QStringLiteral("xdg-open"), {filePath}};
}

} // namespace horlan
