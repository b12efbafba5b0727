#include "app/frmMain.h"

#include "ui_frmMain.h"

#include "about/ProductInfo.h"
#include "about/frmabout.h"
#include "app/Conversions.h"
#include "app/PanelAccessibility.h"
#include "app/StartupChecks.h"
#include "netstatus/CIpHelper.h"
#include "netstatus/InternetConnectionState.h"
#include "netstatus/NetstatusTexts.h"
#include "netstatus/frmInfo.h"
#include "runtime/AppInfo.h"
#include "runtime/Bell.h"
#include "runtime/CachedBackdrop.h"
#include "runtime/ErrorReport.h"
#include "runtime/LabelClick.h"
#include "runtime/MsgBox.h"
#include "runtime/ProgramEnd.h"
#include "runtime/ResumeNext.h"
#include "serverlist/EditServerList.h"
#include "serverlist/ServerListFile.h"
#include "serverlist/frmDownload.h"
#include "timesync/ServerEntry.h"
#include "timesync/LocalHost.h"
#include "timesync/SocketErrors.h"
#include "timesync/SystemClock.h"
#include "timesync/TimeReply.h"
#include "timesync/TimeSource.h"
#include "timesync/TimeSyncTexts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QSessionManager>
#include <QShortcut>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace horlan {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kTimerInterval = 100; // ms

// A stored position in twips as whole pixels; a number no window could stand at overflows.
int TwipsToPixels(float twips) {
    const float pixels = std::round(twips / kTwipsPerPixel);
    if (!(std::fabs(pixels) <= 1.0e6f)) {
        Raise(ErrOverflow);
    }
    return static_cast<int>(pixels);
}

// The documented colours of the drop-down and the panel, as palettes: a style sheet would bring
// in Qt's style sheet engine, a megabyte of memory, for a few colours.
void PaintPanelColours(Ui::frmMain& form) {
    const QColor darkBlue(0, 0, 64);
    const QColor cyan(0, 255, 255);
    const QColor lightCyan(128, 255, 255);
    QPalette panel = form.Picture1->palette();
    panel.setColor(QPalette::Window, darkBlue);
    panel.setColor(QPalette::WindowText, cyan); // the labels' text
    form.Picture1->setPalette(panel);
    form.Picture1->setAutoFillBackground(true);
    QPalette status = form.lblSync->palette();
    status.setColor(QPalette::WindowText, QColor(0, 255, 0));
    form.lblSync->setPalette(status);
    QPalette list = form.Combo1->palette();
    for (const auto role : {QPalette::Button, QPalette::Base, QPalette::Window}) {
        list.setColor(role, darkBlue);
    }
    for (const auto role : {QPalette::ButtonText, QPalette::Text, QPalette::WindowText}) {
        list.setColor(role, lightCyan);
    }
    list.setColor(QPalette::Highlight, QColor(0, 0, 128));
    list.setColor(QPalette::HighlightedText, lightCyan);
    form.Combo1->setPalette(list);
    form.Combo1->view()->setPalette(list);
}

} // namespace

frmMain::frmMain(const frmMainServices& services, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::frmMain>()), services_(services),
      connection_(std::make_unique<InternetConnectionState>(services.connectionState)),
      registry_(services.keyStore, services.msgBox), timeProtocol_(services.clock, this),
      ntp_(services.clock, this), nts_(services.clock, this) {
    // Before the panel's labels exist: a screen reader may ask for them as they are made.
    InstallPanelAccessibility();
    ui->setupUi(this);
    PaintPanelColours(*ui);
    ntp_.setObjectName(QStringLiteral("NtpSource"));
    nts_.setObjectName(QStringLiteral("NtsSource"));
    // The icon's vector drawing needs Qt's SVG plugins; they load once the window shows.
    QTimer::singleShot(0, this,
                       [this] { setWindowIcon(QIcon(QStringLiteral(":/app/horlan.svg"))); });
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    HoldFixedSize();
    // The design position: the client area 210 pixels from the screen's left edge and 143
    // from its top, until a saved position says otherwise.
    setGeometry(QRect(kDesignClientOrigin, size()));

    connect(ui->cmdSync, &QPushButton::clicked, this, &frmMain::cmdSync_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
    connect(ui->cmdAbout, &QPushButton::clicked, this, &frmMain::cmdAbout_Click);
    connect(ui->cmdInetStatus, &QPushButton::clicked, this, &frmMain::cmdInetStatus_Click);
    connect(ui->menuShowConnectionStatus, &QAction::triggered, this,
            &frmMain::menuShowConnectionStatus_Click);
    connect(ui->menuAbout, &QAction::triggered, this, &frmMain::menuAbout_Click);
    connect(ui->menuExit, &QAction::triggered, this, &frmMain::menuExit_Click);
    connect(ui->menuEditList, &QAction::triggered, this, &frmMain::menuEditList_Click);
    connect(ui->menuUpdatList, &QAction::triggered, this, &frmMain::menuUpdatList_Click);

    for (TimeSource* source : std::initializer_list<TimeSource*>{&timeProtocol_, &ntp_, &nts_}) {
        connect(source, &TimeSource::Sampled, this, &frmMain::TimeSource_Sampled);
        connect(source, &TimeSource::Failed, this, &frmMain::TimeSource_Failed);
    }

    // A main window has no default button of its own: Enter presses the focused button, or
    // "&Synchronize" anywhere else in the window.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, &frmMain::DefaultButton_Press);
    }

    ui->Picture1->installEventFilter(this);
    // The status button lies below the visible part of the window; the menu entry is the way
    // to the dialog, so keyboard and screen readers skip the button.
    ui->cmdInetStatus->hide();

    // The picture changes with the traffic; its change should not repaint the frame beneath.
    PaintOverCachedBackdrop(ui->Image1);

    // When the session is about to end, its manager asks for the settings; the user may still
    // cancel the logout, so nothing closes yet. Everything closes once the session ends (or
    // the termination signal asks, see main()).
    connect(qApp, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { SaveSettings(); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible()) {
            close();
        }
    });

    Timer1.setInterval(kTimerInterval);
    connect(&Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
}

frmMain::~frmMain() = default;

bool frmMain::Initialize() {
    if (!horlan::Form_Initialize(services_.previousInstance, *connection_, services_.msgBox,
                                 services_.end)) {
        return false;
    }
    Form_Load();
    Timer1.start();
    refreshing_ = true;
    return true;
}

void frmMain::HoldFixedSize() {
    const int menuHeight = menuBar()->sizeHint().height();
    setFixedSize(kClientSize.width(), kClientSize.height() + menuHeight);
}

// ---- Load ---------------------------------------------------------------------------------

void frmMain::ShowClientLabels() {
    ResumeNext([&] { ui->lblHostname->setText(services_.localHost.LocalHostName()); });
    ResumeNext([&] { ui->lblIPaddress->setText(services_.localHost.LocalIP()); });
    ResumeNext([&] { ui->lblLocalTime->setText(LocalDateTimeText(QDateTime::currentDateTime())); });
    ResumeNext([&] { ui->lblSync->setText(WaitingText()); });
}

void frmMain::ApplySavedPosition() {
    const QString key = SettingsKeyPath();
    ResumeNext(
        [&] { move(x(), TwipsToPixels(CSng(registry_.GetKeyValue(key, QStringLiteral("Top"))))); });
    ResumeNext([&] {
        move(TwipsToPixels(CSng(registry_.GetKeyValue(key, QStringLiteral("Left")))), y());
    });
    // A position saved on a screen that is no longer there would hide the window for good.
    const QRect frame = frameGeometry();
    const auto screens = QGuiApplication::screens();
    const bool visible = std::any_of(screens.cbegin(), screens.cend(), [&](const QScreen* screen) {
        return screen->availableGeometry().intersects(frame);
    });
    if (!visible && !screens.isEmpty()) {
        setGeometry(QRect(kDesignClientOrigin, size()));
    }
}

void frmMain::Form_Load() {
    // Phase one: each step on its own; a failed step is skipped without a message.
    ResumeNext([&] { registry_.CreateKey(SettingsKeyPath()); });
    ApplySavedPosition();
    ResumeNext([&] {
        ipHelper_ = std::make_unique<CIpHelper>(services_.interfaceTable, services_.msgBox);
    });
    ResumeNext([&] { ShowActivityPicture(1); });
    ShowClientLabels();

    // Phase two: the server list and the server chosen last.
    LoadServerList();
}

void frmMain::LoadServerList() {
    const QString& programFolder = services_.programFolder;
    try {
        try {
            RefreshListFile(programFolder);
            ShowServers(LoadComboFromFile(ListFilePath(programFolder), programFolder));
            SelectLastServer();
        } catch (const RuntimeError& error) {
            switch (error.Number()) {
            case ErrTypeMismatch:
                ShowClientLabels();
                break;
            case ErrFileNotFound: {
                QStringList servers;
                LoadInternalList(servers);
                ShowServers(servers);
                CreateList(servers, programFolder);
                break;
            }
            default:
                throw;
            }
        }
    } catch (const RuntimeError& error) {
        services_.msgBox.Show(CommonErrorReport(error, QStringLiteral("Form_Load")));
        if (ui->Combo1->count() == 0) {
            ShowServersWithoutWriting();
        }
    }
}

void frmMain::ShowServers(const QStringList& servers) {
    ui->Combo1->clear();
    ui->Combo1->addItems(servers);
    ui->Combo1->setCurrentIndex(0);
}

void frmMain::SelectLastServer() {
    QComboBox& Combo1 = *ui->Combo1;
    const qint16 index =
        CInt(registry_.GetKeyValue(SettingsKeyPath(), QStringLiteral("LastServer")));
    if (index < -1) {
        Raise(ErrInvalidPropertyValue);
    }
    // A server beyond the list is one the list has lost since (it was edited or downloaded):
    // the first entry stands in, as for none.
    Combo1.setCurrentIndex(index < Combo1.count() ? index : -1);
    if (Combo1.currentIndex() == -1) {
        Combo1.setCurrentIndex(0);
    }
}

void frmMain::ShowServersWithoutWriting() {
    // The refresh failed: the user still gets servers, those of list.txt when it can be read,
    // else the built-in ones, and no file is touched on the way.
    QStringList servers;
    ResumeNext([&] { servers = ReadListFile(ListFilePath(services_.programFolder)); });
    if (servers.isEmpty()) {
        LoadInternalList(servers);
    }
    ShowServers(servers);
    ResumeNext([&] { SelectLastServer(); });
    // This list may not be the one the saved index counts in: the saved server is kept
    // unless the user picks another.
    untouchedServer_ = ui->Combo1->currentIndex();
}

// ---- Closing and window events --------------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void frmMain::Form_QueryUnload() {
    SaveSettings();
    // The program's other windows close too.
    ResumeNext([&] {
        const auto windows = QApplication::topLevelWidgets();
        for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
            if (*it != this && (*it)->isVisible()) {
                (*it)->close();
            }
        }
    });
}

void frmMain::SaveSettings() {
    // One change of the settings, so that a failure cannot keep Top without Left.
    QList<std::pair<QString, QString>> values;
    if (!isMinimized()) {
        values.append(
            {QStringLiteral("Top"), SingleToText(static_cast<float>(y() * kTwipsPerPixel))});
        values.append(
            {QStringLiteral("Left"), SingleToText(static_cast<float>(x() * kTwipsPerPixel))});
    }
    if (untouchedServer_ != ui->Combo1->currentIndex()) {
        values.append({QStringLiteral("LastServer"), QString::number(ui->Combo1->currentIndex())});
    }
    ResumeNext([&] { registry_.SetKeyValues(SettingsKeyPath(), values); });
}

void frmMain::Form_Unload() {
    refreshing_ = false;
    Timer1.stop();
    services_.end.End();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // No one sees the activity picture of a minimised window: its refresh rests until the
    // window is restored.
    if (event->type() == QEvent::WindowStateChange && refreshing_) {
        if (isMinimized()) {
            Timer1.stop();
        } else {
            Timer1.start();
        }
    }
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    // The window always returns to its fixed size; a minimised window cannot be sized. A size
    // forced from outside (no window manager honours the fixed size) is undone once the
    // resize has been delivered.
    if (!isMinimized() && !isMaximized()) {
        ResumeNext([&] { HoldFixedSize(); });
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!isMinimized() && !isMaximized() && size() != minimumSize()) {
                    resize(minimumSize());
                }
            },
            Qt::QueuedConnection);
    }
}

void frmMain::cmdExit_Click() {
    close();
}

void frmMain::menuExit_Click() {
    cmdExit_Click();
}

void frmMain::cmdAbout_Click() {
    try {
        frmabout dialog(services_.shell, this, this);
        dialog.exec();
    } catch (const std::exception&) {
        // Opening the about dialog has nothing to report.
    }
}

void frmMain::menuAbout_Click() {
    cmdAbout_Click();
}

void frmMain::Picture1_MouseDown() {}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->Picture1 && event->type() == QEvent::MouseButtonPress) {
        Picture1_MouseDown();
    }
    // The dark panel takes the focus after "Synchronize": a dotted frame in the labels' cyan
    // shows it, drawn over the panel's own painting.
    if (watched == ui->Picture1 && event->type() == QEvent::Paint && ui->Picture1->hasFocus()) {
        PaintWithFocusFrame(ui->Picture1, event, QColor(0, 255, 255),
                            ui->Picture1->contentsRect().adjusted(1, 1, -2, -2));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::DefaultButton_Press() {
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    if (focused != nullptr && focused->window() == this) {
        focused->click();
        return;
    }
    ui->cmdSync->click();
}

// ---- Connection status and server list commands --------------------------------------------

void frmMain::cmdInetStatus_Click() {
    try {
        frmInfo dialog(*connection_, services_.msgBox, services_.end);
        if (dialog.Form_Load()) {
            dialog.exec();
        }
    } catch (const std::exception&) {
        // The dialog reports its own failures; nothing escapes the click.
    }
}

void frmMain::menuShowConnectionStatus_Click() {
    cmdInetStatus_Click();
}

void frmMain::menuEditList_Click() {
    try {
        EditServerList(services_.shell, services_.msgBox, services_.programFolder, this);
    } catch (const RuntimeError& error) {
        services_.msgBox.Show(CommonErrorReport(error, QStringLiteral("menuEditList_Click")));
    }
}

void frmMain::menuUpdatList_Click() {
    frmDownload::ShowOne(download_, services_.shell, services_.msgBox, services_.end,
                         services_.saveLocation, services_.programFolder,
                         QUrl(QString::fromUtf8(ListDownloadAddress)));
}

// ---- Activity picture ----------------------------------------------------------------------

void frmMain::Timer1_Timer() {
    UpdateActivityPicture();
}

void frmMain::UpdateActivityPicture() {
    if (!ipHelper_) {
        return;
    }
    // The totals alone: the picture needs nothing of the table.
    ResumeNext([&] { ipHelper_->RefreshTotals(); });
    ResumeNext([&] {
        ShowActivityPicture(activity_.Next(ipHelper_->BytesReceived(), ipHelper_->BytesSent()));
    });
}

void frmMain::ShowActivityPicture(int picture) {
    // Setting the picture that already shows would only repaint the same pixels ten times a
    // second.
    if (picture == shownPicture_) {
        return;
    }
    // Each picture is drawn when it is first shown: start-up needs only the first.
    QPixmap& drawing = ImageList1.at(static_cast<std::size_t>(picture - 1));
    if (drawing.isNull()) {
        drawing = ActivityPicture(picture);
    }
    ui->Image1->setPixmap(drawing);
    ui->Image1->setAccessibleDescription(ActivityDescription(picture));
    shownPicture_ = picture;
}

// ---- Synchronize ---------------------------------------------------------------------------

void frmMain::cmdSync_Click() {
    // The answer to a request to set the clock is still to come (the user may be typing a
    // password): this exchange is not over yet.
    if (clockPending_) {
        return;
    }
    if (ui->lblIPaddress->text().isEmpty()) {
        // The network may have come up since the window was loaded.
        ResumeNext([&] { ui->lblIPaddress->setText(services_.localHost.LocalIP()); });
    }
    if (ui->lblIPaddress->text().isEmpty()) {
        services_.msgBox.Show(NoConnectionBox());
        services_.end.End();
        return;
    }
    const std::optional<ServerEntry> entry = ParseServerEntry(ui->Combo1->currentText());
    if (!entry) {
        services_.msgBox.Show(NotATimeServerBox());
        return;
    }
    ui->lblSync->setText(WorkingText());
    ui->lblSync->setToolTip(QString());
    ui->lblSync->setAccessibleDescription(QString());
    timeProtocol_.Abandon();
    ntp_.Abandon();
    nts_.Abandon();
    switch (entry->Kind) {
    case ServerEntry::Protocol::Time:
        timeProtocol_.Start(*entry);
        break;
    case ServerEntry::Protocol::Ntp:
        ntp_.Start(*entry);
        break;
    case ServerEntry::Protocol::Nts:
        nts_.Start(*entry);
        break;
    }
    ui->Picture1->setFocus();
}

void frmMain::TimeSource_Failed(const MsgBoxRequest& box) {
    ui->lblSync->setText(NotSynchronizedText());
    services_.msgBox.Show(box);
}

void frmMain::TimeSource_Sampled(const TimeSample& sample) {
    switch (DecideClock(sample, BuildDay())) {
    case ClockAction::Refuse:
        TimeSource_Failed(InvalidResponseBox());
        return;
    case ClockAction::LeaveAlone:
        // Setting a clock that already agrees as far as the exchange can tell would make it
        // less right, not more.
        ShowClockOutcome(sample, ClockOutcome::Agreed);
        return;
    case ClockAction::Ask: {
        // No new exchange may start while the user thinks it over.
        clockPending_ = true;
        const bool yes = services_.msgBox.Ask(BigJumpQuestion(sample));
        clockPending_ = false;
        if (!yes) {
            ShowClockOutcome(sample, ClockOutcome::Declined);
            return;
        }
        break;
    }
    case ClockAction::Set:
        break;
    }
    SetClock(sample);
}

void frmMain::SetClock(const TimeSample& sample) {
    clockPending_ = true;
    // The system may ask the user for a password first; an immediate answer replaces this.
    ui->lblSync->setText(WaitingForPermissionText());
    services_.clock.AdjustBy(
        std::chrono::round<std::chrono::microseconds>(sample.Offset), this,
        [this, sample](const ClockResult& result) {
            clockPending_ = false;
            ResumeNext([&] {
                ShowClockOutcome(sample, result.Ok ? ClockOutcome::Set : ClockOutcome::NotSet);
                if (!result.Ok) {
                    services_.msgBox.Show(ClockNotSetBox(result));
                }
            });
        });
}

void frmMain::ShowClockOutcome(const TimeSample& sample, ClockOutcome outcome) {
    const bool synchronized = outcome == ClockOutcome::Agreed || outcome == ClockOutcome::Set;
    if (synchronized) {
        services_.bell.Beep();
    }
    ui->lblUTCdate->setText(GeneralDateText(sample.ServerTime));
    ui->lblLocalTime->setText(LocalDateTimeText(QDateTime::currentDateTime()));
    // A clock that could not be set is never reported as set.
    ui->lblSync->setText(synchronized ? SynchronizedText() : NotSynchronizedText());
    const QString text = OutcomeText(outcome, sample);
    ui->lblSync->setToolTip(text);
    ui->lblSync->setAccessibleDescription(text);
    // Kept by the journal when the program was started from the desktop.
    std::fprintf(stderr, "%s\n", qPrintable(OutcomeLogLine(outcome, sample)));
}

} // namespace horlan
