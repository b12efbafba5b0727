#pragma once

#include <QString>
#include <exception>
#include <string>

namespace horlan {

// The run-time error numbers that the program's handlers test.
enum ErrorNumber : int {
    ErrInvalidProcedureCall = 5,
    ErrOverflow = 6,
    ErrTypeMismatch = 13,
    ErrFileNotFound = 53,
    ErrPathFileAccess = 75,
    ErrComponentNotRegistered = 339,
    ErrInvalidPropertyValue = 380,
    ErrEntryPointNotFound = 453,
    ErrUnexpected = 50003,
};

// A failure as the program's handlers see it: a number to choose the reaction by, the
// description shown to the user, and an optional help file and context for the help key.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString description, QString helpFile = {}, int helpContext = 0);

    int Number() const { return number_; }
    const QString& Description() const { return description_; }
    const QString& HelpFile() const { return helpFile_; }
    int HelpContext() const { return helpContext_; }

    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    QString helpFile_;
    int helpContext_;
    std::string what_;
};

// The runtime's own description of a standard error number ("Overflow", "Type mismatch", ...).
QString StandardDescription(int number);

// Raises the error `number` with its standard description.
[[noreturn]] void Raise(int number);

// The error number in sign-padded form: a space before zero or a positive number, a minus
// sign before a negative one (" 53", "-7").
QString SignPadded(int number);

} // namespace horlan
