// The one main of every test executable: a QApplication on the offscreen platform, and
// private XDG folders so that no test can reach the user's real settings or data.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        return 2;
    }
    const QString root = home.path();
    for (const char* sub : {"config", "data", "runtime", "cache"}) {
        QDir(root).mkpath(QString::fromLatin1(sub));
    }
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // System messages (strerror, gai_strerror) in the C library's own words, whatever the
    // machine's language.
    qputenv("LC_ALL", "C");
    qputenv("HOME", root.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (root + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (root + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", (root + QStringLiteral("/runtime")).toLocal8Bit());
    qputenv("XDG_CACHE_HOME", (root + QStringLiteral("/cache")).toLocal8Bit());
    // No test may reach the machine's system bus, where timedated sets the real clock.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + (root + "/no-system-bus").toLocal8Bit());

    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
