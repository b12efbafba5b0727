#include "runtime/RuntimeError.h"

#include <QCoreApplication>

namespace horlan {

RuntimeError::RuntimeError(int number, QString description, QString helpFile, int helpContext)
    : number_(number), description_(std::move(description)), helpFile_(std::move(helpFile)),
      helpContext_(helpContext),
      what_(QStringLiteral("Error %1: %2").arg(number).arg(description_).toStdString()) {}

QString StandardDescription(int number) {
    switch (number) {
    case ErrInvalidProcedureCall:
        return QCoreApplication::translate("RuntimeError", "Invalid procedure call or argument");
    case ErrOverflow:
        return QCoreApplication::translate("RuntimeError", "Overflow");
    case ErrTypeMismatch:
        return QCoreApplication::translate("RuntimeError", "Type mismatch");
    case ErrFileNotFound:
        return QCoreApplication::translate("RuntimeError", "File not found");
    case ErrPathFileAccess:
        return QCoreApplication::translate("RuntimeError", "Path/File access error");
    case ErrComponentNotRegistered:
        return QCoreApplication::translate("RuntimeError", "Component not correctly registered");
    case ErrInvalidPropertyValue:
        return QCoreApplication::translate("RuntimeError", "Invalid property value");
    case ErrEntryPointNotFound:
        return QCoreApplication::translate("RuntimeError", "Specified DLL function not found");
    case ErrUnexpected:
        return QCoreApplication::translate("RuntimeError", "Unexpected error");
    default:
        return QCoreApplication::translate("RuntimeError",
                                           "Application-defined or object-defined error");
    }
}

void Raise(int number) {
    throw RuntimeError(number, StandardDescription(number));
}

QString SignPadded(int number) {
    return number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
}

} // namespace horlan
