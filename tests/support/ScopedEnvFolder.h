#pragma once

// Points one environment variable (XDG_DATA_HOME, XDG_CONFIG_HOME...) at a fresh temporary
// folder for the lifetime of the object, and puts the previous value back afterwards.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace horlan {

class ScopedEnvFolder {
public:
    explicit ScopedEnvFolder(const char* variable)
        : variable_(variable), hadValue_(qEnvironmentVariableIsSet(variable)),
          previous_(qgetenv(variable)) {
        qputenv(variable_, dir_.path().toLocal8Bit());
    }
    ~ScopedEnvFolder() {
        if (hadValue_) {
            qputenv(variable_, previous_);
        } else {
            qunsetenv(variable_);
        }
    }
    ScopedEnvFolder(const ScopedEnvFolder&) = delete;
    ScopedEnvFolder& operator=(const ScopedEnvFolder&) = delete;

    // The temporary folder, without a trailing separator.
    QString Path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    const char* variable_;
    bool hadValue_;
    QByteArray previous_;
};

} // namespace horlan
