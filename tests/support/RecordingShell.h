#pragma once

#include "runtime/RuntimeError.h"
#include "runtime/Shell.h"

#include <QList>
#include <QUrl>
#include <optional>

namespace horlan {

// Records every request to the Shell seam and answers as told.
class RecordingShell : public Shell {
public:
    struct Start {
        QString Program;
        QStringList Arguments;
        bool operator==(const Start&) const = default;
    };

    bool StartDetached(const QString& program, const QStringList& arguments) override {
        Started.append({program, arguments});
        return StartSucceeds;
    }
    bool OpenUrl(const QUrl& url) override {
        OpenedUrls.append(url);
        return OpenSucceeds;
    }
    void ShowFolder(const QString& folder) override {
        ShownFolders.append(folder);
        if (ShowFolderError) {
            throw *ShowFolderError;
        }
    }

    QList<Start> Started;
    QList<QUrl> OpenedUrls;
    QStringList ShownFolders;
    bool StartSucceeds = true;
    bool OpenSucceeds = true;
    std::optional<RuntimeError> ShowFolderError; // thrown by ShowFolder after recording
};

} // namespace horlan
