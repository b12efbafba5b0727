#pragma once

// The main window on fakes: private data and settings folders, a recording message box,
// a clock of the test's own, and a connection that answers "LAN".

#include "support/AppFakes.h"
#include "support/FakeConnectionState.h"
#include "support/FakeInterfaceTable.h"
#include "support/Recorders.h"
#include "support/RecordingShell.h"
#include "support/ScopedEnvFolder.h"

#include "app/frmMain.h"
#include "serverlist/SaveLocation.h"
#include "storage/FileKeyStore.h"
#include "timesync/SystemClock.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace horlan {

class NoSaveLocation : public SaveLocation {
public:
    QString Ask(QWidget*, const QString&) override { return {}; }
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        connection.Answer = {true, 2u, 0};
        QDir().mkpath(ProgramFolder());
    }

    // Creates the window and runs its start-up; null when a check ended the program.
    frmMain* Open() {
        window = std::make_unique<frmMain>(
            frmMainServices{msgBox, end, bell, clock, localHost, keyStore, connection, interfaces,
                            previous, shell, saveLocation, ProgramFolder()});
        if (!window->Initialize()) {
            return nullptr;
        }
        window->show();
        return window.get();
    }

    // Closes the window the way the close box does, and forgets it.
    void Close() {
        window->close();
        window.reset();
    }

    template <class T> T* Child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QComboBox* Combo1() const { return Child<QComboBox>("Combo1"); }
    QString Label(const char* name) const { return Child<QLabel>(name)->text(); }

    QString ProgramFolder() const { return program.path() + QStringLiteral("/program"); }
    QString DataFolder() const {
        return data.Path() + QStringLiteral("/Vantorel software/Horlan/");
    }
    QString ListFile() const { return DataFolder() + QStringLiteral("list.txt"); }

    std::optional<QString> Setting(const QString& name) {
        RecordingMsgBox quiet;
        return Registry(keyStore, quiet).GetKeyValue(SettingsKeyPath(), name);
    }
    void SetSetting(const QString& name, const QString& text) {
        RecordingMsgBox quiet;
        Registry registry(keyStore, quiet);
        registry.CreateKey(SettingsKeyPath());
        registry.SetKeyValue(SettingsKeyPath(), name, text);
    }

    ScopedEnvFolder data{"XDG_DATA_HOME"};
    ScopedEnvFolder config{"XDG_CONFIG_HOME"};
    QTemporaryDir program;
    RecordingMsgBox msgBox;
    RecordingEnd end;
    RecordingBell bell;
    // The clock reads `Now`, or runs with the system's `Skew` off (positive: ahead), and asks
    // systemd-timedated, on the private bus of a test that starts one.
    QDateTime Now = QDateTime::currentDateTimeUtc();
    std::optional<std::chrono::nanoseconds> Skew;
    TimedatedClock clock{
        [this] { return Skew ? TimedatedClock::SystemNow() + *Skew : ToClockTime(Now); }};
    FakeLocalHost localHost;
    FileKeyStore keyStore{FileKeyStore::DefaultPath()};
    FakeConnectionState connection;
    FakeInterfaceTable interfaces;
    FakePreviousInstance previous;
    RecordingShell shell;
    NoSaveLocation saveLocation;
    std::unique_ptr<frmMain> window;
};

} // namespace horlan
