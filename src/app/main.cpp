// Horlan's entry point: chooses the real platform backends and starts the main window.
#include "app/CommandLine.h"
#include "app/PrivilegedStart.h"
#include "app/frmMain.h"
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"
#include "runtime/Bell.h"
#include "runtime/PreviousInstance.h"
#include "runtime/ProgramEnd.h"
#include "runtime/QtMsgBox.h"
#include "runtime/Shell.h"
#include "runtime/TerminationSignal.h"
#include "runtime/Translations.h"
#include "serverlist/SaveLocation.h"
#include "storage/FileKeyStore.h"
#include "timesync/LocalHost.h"
#include "timesync/SystemClock.h"

#include <QApplication>

int main(int argc, char** argv) {
    if (const auto code = horlan::RefusePrivilegedStart()) {
        return *code;
    }
    if (const auto code = horlan::AnswerInfoOptions(argc, argv)) {
        return *code;
    }
    // The window's fixed size counts its own menu bar; asking the session bus for a global
    // one would also cost a D-Bus connection before the first window shows.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication app(argc, argv);
    if (const auto code = horlan::RefuseUnknownOptions(argc, argv)) {
        return *code;
    }
    QApplication::setApplicationName(QStringLiteral("Horlan"));
    QApplication::setApplicationVersion(QStringLiteral(HORLAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("example.vantorel.Horlan"));
    // Asked to end from outside (session end, kill): close like the close box, keeping the
    // window's position and the chosen server. Caught from before the first file is touched,
    // so that a request during start-up waits for the window instead of killing the program.
    horlan::TerminationSignal termination;
    const horlan::Translations translations;

    horlan::LockFileInstance previousInstance;
    horlan::QtMsgBox msgBox;
    horlan::ImmediateEnd end;
    horlan::QtBell bell;
    horlan::RealSystemClock clock;
    horlan::SystemLocalHost localHost;
    horlan::FileKeyStore keyStore(horlan::FileKeyStore::DefaultPath());
    horlan::NetlinkConnectionState connectionState;
    horlan::NetlinkInterfaceTable interfaceTable;
    horlan::DesktopShell shell;
    horlan::DialogSaveLocation saveLocation;

    horlan::frmMain window({msgBox, end, bell, clock, localHost, keyStore, connectionState,
                            interfaceTable, previousInstance, shell, saveLocation,
                            QCoreApplication::applicationDirPath()});
    QObject::connect(&termination, &horlan::TerminationSignal::Requested, &window, &QWidget::close);
    if (!window.Initialize()) {
        return 0;
    }
    window.show();
    return QApplication::exec();
}
