#pragma once

#include "runtime/MsgBox.h"

namespace horlan {

// The boxes of "&Edit server list" and of the list download, kept together so that their
// texts can be compared.

// The list file is missing: its full path on the second line.
MsgBoxRequest FileMissingBox(const QString& listFilePath);

// Shown right after the editor was started.
MsgBoxRequest RestartToApplyBox();

// No text editor could be started for the list file.
MsgBoxRequest EditorNotStartedBox(const QString& listFilePath);

// A download did not bring a usable list; `reason` says why, the address where from.
MsgBoxRequest DownloadFailedBox(const QString& address, const QString& reason);

// A downloaded list was saved at `savedPath`.
MsgBoxRequest ListSavedBox(const QString& savedPath);

// The tooltip of the download dialog's folder link.
QString FolderLinkToolTip();

} // namespace horlan
