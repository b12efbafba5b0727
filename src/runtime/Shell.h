#pragma once

#include <QString>
#include <QStringList>

class QUrl;

namespace horlan {

// Seam: the desktop's services for starting other programs. None of them waits for the
// program it starts.
class Shell {
public:
    virtual ~Shell() = default;

    // Starts `program` with `arguments`, each handed over as one argument (no shell parses
    // them), and returns at once. False when the program could not be started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;

    // Opens `url` with the desktop's handler for it (a web address in the user's browser).
    // False when no handler accepted it.
    virtual bool OpenUrl(const QUrl& url) = 0;

    // Shows the local folder `folder` in the file manager. Throws RuntimeError when nothing
    // could show it.
    virtual void ShowFolder(const QString& folder) = 0;
};

// The services of the user's desktop session.
class DesktopShell : public Shell {
public:
    bool StartDetached(const QString& program, const QStringList& arguments) override;
    bool OpenUrl(const QUrl& url) override;
    void ShowFolder(const QString& folder) override;
};

} // namespace horlan
