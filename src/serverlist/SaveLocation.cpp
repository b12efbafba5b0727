#include "serverlist/SaveLocation.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace horlan {

QString DialogSaveLocation::Ask(QWidget* parent, const QString& suggestedPath) {
    return QFileDialog::getSaveFileName(
        parent, QCoreApplication::translate("SaveLocation", "Save the server list as"),
        suggestedPath,
        QCoreApplication::translate("SaveLocation", "Text files (*.txt);;All files (*)"));
}

} // namespace horlan
