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
    // The ticks are indicators: they never take the focus (see the .ui) and their mouse and
    // key events are dropped, so nothing the user does changes them.
    for (QWidget* box : {ui_->Check1, ui_->Check2, ui_->Check3}) {
        box->installEventFilter(this);
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
        if (EndIfFacilityMissing(error, msgBox_, end_)) {
            return false;
        }
        msgBox_.Show(CommonErrorReport(error, frmInfoLoadProcedure()));
    }
    return true;
}

void frmInfo::cmdOK_Click() {
    accept();
}

bool frmInfo::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void frmInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace horlan
