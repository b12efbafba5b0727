#pragma once

#include <QString>

class QWidget;

namespace horlan {

// Seam: asks the user where a downloaded file goes.
class SaveLocation {
public:
    virtual ~SaveLocation() = default;

    // Asks for the path to save to, proposing `suggestedPath` (folder and file name).
    // Returns the chosen full path, or an empty text when the user cancelled.
    virtual QString Ask(QWidget* parent, const QString& suggestedPath) = 0;
};

// The desktop's save dialog.
class DialogSaveLocation : public SaveLocation {
public:
    QString Ask(QWidget* parent, const QString& suggestedPath) override;
};

} // namespace horlan
