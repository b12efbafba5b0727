#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;
class QUrl;

namespace horlan {

class RuntimeError;

// Seam: the desktop's services for starting other programs. None of them blocks while the
// program it starts runs.
class Shell {
public:
    virtual ~Shell() = default;

    // Starts `program` with `arguments`, each handed over as one argument (no shell parses
    // them), and returns at once. When the program has ended, `finished` runs on this thread
    // with its exit status, or with none when it could not be started or crashed. It never
    // runs after `context` is destroyed; the program itself runs on.
    using Finished = std::function<void(std::optional<int> exitStatus)>;
    virtual void StartAndReport(const QString& program, const QStringList& arguments,
                                QObject* context, Finished finished) = 0;

    // Opens `url` with the desktop's handler for it (a web address in the user's browser).
    // False when no handler accepted it.
    virtual bool OpenUrl(const QUrl& url) = 0;

    // Shows the local folder `folder` in the file manager without waiting for it. When
    // nothing could show it, `failed` runs on this thread with the error, before this returns
    // or later from the event loop; never after `context` is destroyed.
    using Failed = std::function<void(const RuntimeError& error)>;
    virtual void ShowFolder(const QString& folder, QObject* context, Failed failed) = 0;
};

// The services of the user's desktop session.
class DesktopShell : public Shell {
public:
    void StartAndReport(const QString& program, const QStringList& arguments, QObject* context,
                        Finished finished) override;
    bool OpenUrl(const QUrl& url) override;
    void ShowFolder(const QString& folder, QObject* context, Failed failed) override;
};

} // namespace horlan
