#include "serverlist/frmDownload.h"

#include "runtime/ErrorReport.h"
#include "runtime/LabelClick.h"
#include "runtime/MsgBox.h"
#include "runtime/ProgramEnd.h"
#include "runtime/RuntimeError.h"
#include "runtime/Shell.h"
#include "runtime/VectorPicture.h"
#include "serverlist/ListUpdateTexts.h"
#include "serverlist/SaveLocation.h"
#include "storage/appdata.h"
#include "ui_frmDownload.h"

#include <QProgressDialog>

#include <filesystem>

namespace horlan {

namespace {

RuntimeError Unexpected(const std::exception& error) {
    return RuntimeError(ErrUnexpected, QString::fromLocal8Bit(error.what()));
}

// The folder as the path label shows it: in lower case where the file system ignores case
// (the lower-case name leads to the same folder), else in its real case.
QString FolderAsShown(const QString& folder) {
    const QString lower = folder.toLower();
    std::error_code error;
    const bool same = lower != folder && std::filesystem::equivalent(
                                             std::filesystem::path(lower.toStdU16String()),
                                             std::filesystem::path(folder.toStdU16String()), error);
    return same ? lower : folder;
}

} // namespace

frmDownload::frmDownload(Shell& shell, MsgBox& msgBox, ProgramEnd& end, SaveLocation& saveLocation,
                         const QString& fallbackFolder, const QUrl& address, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<::Ui::frmDownload>()), shell_(shell), msgBox_(msgBox),
      end_(end), saveLocation_(saveLocation), fallbackFolder_(fallbackFolder), address_(address) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    setAttribute(Qt::WA_DeleteOnClose);

    ui->Image1->setPixmap(
        VectorPicture(QStringLiteral(":/serverlist/info_bubble.svg"), ui->Image1->size()));
    SetLinkColor(ui->lblLink, QColor(0, 0, 255));
    ui->lblLink->setToolTip(FolderLinkToolTip());
    ui->lblLink->setCursor(Qt::PointingHandCursor);
    ConnectClick(ui->lblLink, [this] { lblLink_Click(); });
    // "Download" holds the focus first, so that Enter downloads; Tab reaches the link.
    ui->cmdDownload->setFocus();

    connect(ui->cmdDownload, &QPushButton::clicked, this, &frmDownload::cmdDownload_Click);
    connect(ui->cmdCancel, &QPushButton::clicked, this, &frmDownload::cmdCancel_Click);
    connect(ui->cmdExit, &QPushButton::clicked, this, &frmDownload::cmdExit_Click);
    Form_Load();
}

frmDownload::~frmDownload() = default;

frmDownload* frmDownload::ShowOne(QPointer<frmDownload>& instance, Shell& shell, MsgBox& msgBox,
                                  ProgramEnd& end, SaveLocation& saveLocation,
                                  const QString& fallbackFolder, const QUrl& address) {
    if (instance) {
        instance->raise();
        instance->activateWindow();
        return instance;
    }
    instance = new frmDownload(shell, msgBox, end, saveLocation, fallbackFolder, address);
    instance->show();
    return instance;
}

void frmDownload::Form_Load() {
    ui->lblLink->setText(FolderAsShown(GetAppDataFolder(fallbackFolder_)));
}

void frmDownload::cmdDownload_Click() {
    try {
        StartDownload();
    } catch (const RuntimeError& error) {
        // Without any means to fetch the list the program is of no use, as at start-up.
        if (EndIfFacilityMissing(error, msgBox_, end_)) {
            return;
        }
        msgBox_.Show(CommonErrorReport(error, QStringLiteral("frmDownload - cmdDownload_Click")));
    } catch (const std::exception& error) {
        msgBox_.Show(CommonErrorReport(Unexpected(error),
                                       QStringLiteral("frmDownload - cmdDownload_Click")));
    }
}

void frmDownload::StartDownload() {
    if (download_) {
        return;
    }
    ListDownload::CheckFacility(address_);
    // The save dialog runs its own event loop, in which this dialog may be closed and deleted.
    const QPointer<frmDownload> self(this);
    const QString target =
        saveLocation_.Ask(this, GetAppDataFolder(fallbackFolder_) + QStringLiteral("list.txt"));
    if (self.isNull() || target.isEmpty()) {
        return;
    }
    auto download = std::make_unique<ListDownload>(address_, target, this);
    // Queued, so that the transfer has fully unwound before its end is reported.
    connect(download.get(), &ListDownload::Finished, this, &frmDownload::OnDownloadFinished,
            Qt::QueuedConnection);
    download->Start();
    download_ = download.release();

    auto* progress = new QProgressDialog(this);
    progress->setWindowTitle(windowTitle());
    progress->setLabelText(
        QCoreApplication::translate("frmDownload", "Downloading %1").arg(address_.toString()));
    progress->setRange(0, 0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    connect(progress, &QProgressDialog::canceled, download_, &ListDownload::Cancel);
    connect(download_, &ListDownload::Progress, progress,
            [progress](qint64 received, qint64 total) {
                if (total > 0) {
                    progress->setMaximum(static_cast<int>(total));
                    progress->setValue(static_cast<int>(received));
                }
            });
    progress_ = progress;
    ui->cmdDownload->setEnabled(false);
    progress->show();
}

void frmDownload::OnDownloadFinished(DownloadOutcome outcome, const QString& reason) {
    // A box runs its own event loop, in which this dialog may be closed and deleted.
    const QPointer<frmDownload> self(this);
    try {
        const QString target = download_ ? download_->TargetPath() : QString();
        delete progress_.data();
        if (download_) {
            download_->deleteLater();
        }
        download_ = nullptr;
        ui->cmdDownload->setEnabled(true);
        switch (outcome) {
        case DownloadOutcome::Saved:
            msgBox_.Show(ListSavedBox(target));
            break;
        case DownloadOutcome::Failed:
            msgBox_.Show(DownloadFailedBox(address_.toString(), reason));
            break;
        case DownloadOutcome::Cancelled:
            break;
        }
    } catch (const std::exception& error) {
        msgBox_.Show(CommonErrorReport(Unexpected(error),
                                       QStringLiteral("frmDownload - cmdDownload_Click")));
    }
    if (!self.isNull()) {
        emit DownloadReported(outcome);
    }
}

void frmDownload::cmdCancel_Click() {
    close();
}

void frmDownload::cmdExit_Click() {
    close();
}

void frmDownload::lblLink_Click() {
    const auto report = [this](const RuntimeError& error) {
        msgBox_.Show(CommonErrorReport(error, QStringLiteral("frmDownload - lbl_Link")));
    };
    try {
        shell_.ShowFolder(GetAppDataFolder(fallbackFolder_), this, report);
    } catch (const RuntimeError& error) {
        report(error);
    } catch (const std::exception& error) {
        msgBox_.Show(
            CommonErrorReport(Unexpected(error), QStringLiteral("frmDownload - lbl_Link")));
    }
}

} // namespace horlan
