#include "netstatus/frmInfo.h"

#include "netstatus/ActivityPicture.h"
#include "netstatus/NetstatusTexts.h"
#include "runtime/ErrorReport.h"
#include "runtime/RuntimeError.h"
#include "ui_frmInfo.h"

#include <QKeyEvent>

namespace horlan {

frmInfo::frmInfo(InternetConnectionState& state, MsgBox& msgBox, ProgramEnd& end, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmInfo>()), state_(state), msgBox_(msgBox),
      end_(end) {
    ui_->setupUi(this);
    setFixedSize(size());
    setWindowIcon(InternetStatusIcon());
    ui_->Image1->setPixmap(GlobePicture());
    // The ticks are indicators: mouse presses go past them and they never take the focus.
    for (QWidget* box : {ui_->Check1, ui_->Check2, ui_->Check3}) {
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    ui_->cmdOK->setFocus();
    connect(ui_->cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

frmInfo::~frmInfo() = default;

bool frmInfo::Form_Load() {
    try {
        ui_->Check1->setChecked(state_.IsConnected());
        ui_->Check2->setChecked(state_.IsConnectedViaLan());
        ui_->Check3->setChecked(state_.IsConnectedViaModem());
    } catch (const RuntimeError& error) {
        // A missing connection source means no connection: the program cannot work.
        if (error.Number() == ErrFileNotFound || error.Number() == ErrEntryPointNotFound) {
            msgBox_.Show(NoConnectionBox());
            end_.End();
            return false;
        }
        msgBox_.Show(CommonErrorReport(error, frmInfoLoadProcedure()));
    }
    return true;
}

void frmInfo::cmdOK_Click() {
    accept();
}

void frmInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace horlan
