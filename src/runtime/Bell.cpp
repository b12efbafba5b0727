#include "runtime/Bell.h"

#include <QApplication>

namespace horlan {

void QtBell::Beep() {
    QApplication::beep();
}

} // namespace horlan
