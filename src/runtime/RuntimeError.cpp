#include "runtime/RuntimeError.h"

namespace horlan {

RuntimeError::RuntimeError(int number, QString description, QString helpFile, int helpContext)
    : number_(number), description_(std::move(description)), helpFile_(std::move(helpFile)),
      helpContext_(helpContext),
      what_(QStringLiteral("Error %1: %2").arg(number).arg(description_).toStdString()) {}

QString StandardDescription(int number) {
    switch (number) {
    case ErrInvalidProcedureCall:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrOverflow:
        return QStringLiteral("Overflow");
    case ErrTypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrFileNotFound:
        return QStringLiteral("File not found");
    case ErrPathFileAccess:
        return QStringLiteral("Path/File access error");
    case ErrComponentNotRegistered:
        return QStringLiteral("Component not correctly registered");
    case ErrInvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case ErrEntryPointNotFound:
        return QStringLiteral("Specified DLL function not found");
    case ErrUnexpected:
        return QStringLiteral("Unexpected error");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void Raise(int number) {
    throw RuntimeError(number, StandardDescription(number));
}

QString SignPadded(int number) {
    return number < 0 ? QString::number(number) : QLatin1Char(' ') + QString::number(number);
}

} // namespace horlan
