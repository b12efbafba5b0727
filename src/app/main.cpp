// Horlan's entry point: chooses the real platform backends and starts the main window.
#include "app/frmMain.h"
#include "netstatus/NetlinkConnectionState.h"
#include "netstatus/NetlinkInterfaceTable.h"
#include "runtime/Bell.h"
#include "runtime/PreviousInstance.h"
#include "runtime/ProgramEnd.h"
#include "runtime/QtMsgBox.h"
#include "runtime/Shell.h"
#include "runtime/TerminationSignal.h"
#include "serverlist/SaveLocation.h"
#include "storage/FileKeyStore.h"
#include "timesync/LocalHost.h"
#include "timesync/SystemClock.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Horlan"));
    QApplication::setApplicationVersion(QStringLiteral(HORLAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("horlan"));
    // Asked to end from outside (session end, kill): close like the close box, keeping the
    // window's position and the chosen server. Caught from before the first file is touched,
    // so that a request during start-up waits for the window instead of killing the program.
    horlan::TerminationSignal termination;

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
