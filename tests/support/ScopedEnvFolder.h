#pragma once

#include <QTemporaryDir>

namespace horlan {

// Points one environment variable (XDG_DATA_HOME...) at a fresh temporary folder while the
// object lives, then puts the previous value back.
class ScopedEnvFolder {
public:
    explicit ScopedEnvFolder(const char* variable)
        : variable_(variable), hadValue_(qEnvironmentVariableIsSet(variable)),
          previous_(qgetenv(variable)) {
        qputenv(variable_, dir_.path().toLocal8Bit());
    }
    ~ScopedEnvFolder() { hadValue_ ? qputenv(variable_, previous_) : qunsetenv(variable_); }
    QString Path() const { return dir_.path(); } // without a trailing separator

private:
    QTemporaryDir dir_;
    const char* variable_;
    bool hadValue_;
    QByteArray previous_;
};

} // namespace horlan
