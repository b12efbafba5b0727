#pragma once

#include "netstatus/ActivityPicture.h"
#include "storage/Registry.h"
#include "timesync/NtpTimeSource.h"
#include "timesync/NtsTimeSource.h"
#include "timesync/TimeProtocolSource.h"
#include "timesync/TimeSyncTexts.h"

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>

namespace Ui {
class frmMain;
}

namespace horlan {

class Bell;
class CIpHelper;
class ConnectionState;
class InterfaceTable;
class InternetConnectionState;
class KeyStore;
class LocalHost;
class MsgBox;
class PreviousInstance;
class ProgramEnd;
class SaveLocation;
class Shell;
class SystemClock;
class frmDownload;

// What the main window needs of the operating system; main() passes the real backends,
// tests pass fakes.
struct frmMainServices {
    MsgBox& msgBox;
    ProgramEnd& end;
    Bell& bell;
    SystemClock& clock;
    LocalHost& localHost;
    KeyStore& keyStore;
    ConnectionState& connectionState;
    InterfaceTable& interfaceTable;
    PreviousInstance& previousInstance;
    Shell& shell;
    SaveLocation& saveLocation;
    // The folder of the program's own executable: where the list file lives when the
    // per-user data folder cannot be had.
    QString programFolder;
};

// The registry key that holds the window position and the server chosen last.
inline QString SettingsKeyPath() {
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\Vantorel\\Horlan");
}

// The program's one main window.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(const frmMainServices& services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Runs the start-up checks and the load step. Returns false when the program was ended
    // by a check; the window is then not to be shown.
    bool Initialize();

    // The window's client area below the menu bar, in pixels.
    static constexpr QSize kClientSize{244, 226};
    static constexpr QPoint kDesignClientOrigin{210, 143};

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Form_Load();
    void Form_QueryUnload();
    // Writes the window position (unless minimised) and the chosen server.
    void SaveSettings();
    void Form_Unload();
    void Form_Resize();

    void cmdSync_Click();
    void cmdExit_Click();
    void cmdAbout_Click();
    void cmdInetStatus_Click();
    void menuShowConnectionStatus_Click();
    void menuAbout_Click();
    void menuExit_Click();
    void menuEditList_Click();
    void menuUpdatList_Click();
    void Picture1_MouseDown();
    void Timer1_Timer();
    void DefaultButton_Press();

    void TimeSource_Sampled(const TimeSample& sample);
    void TimeSource_Failed(const MsgBoxRequest& box);
    void SetClock(const TimeSample& sample);
    void ShowClockOutcome(const TimeSample& sample, ClockOutcome outcome);
    void UpdateActivityPicture();
    void ShowActivityPicture(int picture);
    void ShowClientLabels();
    void LoadServerList();
    void ShowServers(const QStringList& servers);
    void SelectLastServer();
    void ShowServersWithoutWriting();
    void ApplySavedPosition();
    void HoldFixedSize();
    bool eventFilter(QObject* watched, QEvent* event) override;

    std::unique_ptr<Ui::frmMain> ui;
    frmMainServices services_;
    std::unique_ptr<InternetConnectionState> connection_;
    Registry registry_;
    std::unique_ptr<CIpHelper> ipHelper_;
    ActivityIndicator activity_;
    std::array<QPixmap, 4> ImageList1;
    int shownPicture_ = 0;
    // One source per kind of server entry; a Synchronize starts one and abandons the others.
    TimeProtocolSource timeProtocol_;
    NtpTimeSource ntp_;
    NtsTimeSource nts_;
    QTimer Timer1;
    // Timer1 runs from the end of the load until the unload, resting while minimised.
    bool refreshing_ = false;
    // A request to set the clock awaits its answer, or the user a question about it.
    bool clockPending_ = false;
    QPointer<frmDownload> download_;
    // The selection made at load when the list shown is a stand-in after a failed refresh.
    std::optional<int> untouchedServer_;
};

} // namespace horlan
