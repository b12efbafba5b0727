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

    // Answers later, from the event loop, as the real program would.
    void StartAndReport(const QString& program, const QStringList& arguments, QObject* context,
                        Finished finished) override {
        Started.append({program, arguments});
        const auto status = StartSucceeds ? std::optional<int>(ExitStatus) : std::nullopt;
        QMetaObject::invokeMethod(
            context, [=] { finished(status); }, Qt::QueuedConnection);
    }
    bool OpenUrl(const QUrl& url) override {
        OpenedUrls.append(url);
        return OpenSucceeds;
    }
    void ShowFolder(const QString& folder, QObject*, Failed) override {
        ShownFolders.append(folder);
    }

    QList<Start> Started;
    QList<QUrl> OpenedUrls;
    QStringList ShownFolders;
    bool StartSucceeds = true;
    int ExitStatus = 0;
    bool OpenSucceeds = true;
};

} // namespace horlan
