#include "serverlist/SaveLocation.h"

#include <QFileDialog>

namespace horlan {

QString DialogSaveLocation::Ask(QWidget* parent, const QString& suggestedPath) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save the server list as"),
                                        suggestedPath,
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

} // namespace horlan
