#pragma once

#include "serverlist/ListDownload.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <memory>

class QProgressDialog;

namespace Ui {
class frmDownload;
}

namespace horlan {

class MsgBox;
class ProgramEnd;
class SaveLocation;
class Shell;

// The download dialog: shows the program data folder, where a new server list belongs, and
// fetches the list from the maker's site into a place the user chooses. Modeless, one
// instance at a time, deleted when closed.
class frmDownload : public QDialog {
    Q_OBJECT

public:
    // `fallbackFolder` is the program's own folder, used when the data folder is not available;
    // `address` is where the list is fetched from.
    frmDownload(Shell& shell, MsgBox& msgBox, ProgramEnd& end, SaveLocation& saveLocation,
                const QString& fallbackFolder, const QUrl& address, QWidget* parent = nullptr);
    ~frmDownload() override;

    // Shows the one dialog kept in `instance`: creates it when there is none, otherwise only
    // brings it to the front. Returns it.
    static frmDownload* ShowOne(QPointer<frmDownload>& instance, Shell& shell, MsgBox& msgBox,
                                ProgramEnd& end, SaveLocation& saveLocation,
                                const QString& fallbackFolder, const QUrl& address);

    // The transfer under way, or null.
    ListDownload* CurrentDownload() const { return download_; }

signals:
    // A transfer ended and its outcome has been reported to the user.
    void DownloadReported(horlan::DownloadOutcome outcome);

private slots:
    void cmdDownload_Click();
    void cmdCancel_Click();
    void cmdExit_Click();
    void lblLink_Click();

protected:
private:
    void Form_Load();
    void StartDownload();
    void OnDownloadFinished(DownloadOutcome outcome, const QString& reason);

    std::unique_ptr<::Ui::frmDownload> ui;
    Shell& shell_;
    MsgBox& msgBox_;
    ProgramEnd& end_;
    SaveLocation& saveLocation_;
    QString fallbackFolder_;
    QUrl address_;
    QPointer<ListDownload> download_;
    QPointer<QProgressDialog> progress_;
};

} // namespace horlan
