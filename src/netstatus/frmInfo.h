#pragma once

#include "netstatus/InternetConnectionState.h"
#include "runtime/MsgBox.h"
#include "runtime/ProgramEnd.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmInfo;
}

namespace horlan {

// The connection status window: the three connection answers as ticks the user can see but
// not change. Loaded afresh for each opening: construct, Form_Load(), exec().
class frmInfo : public QDialog {
    Q_OBJECT

public:
    frmInfo(InternetConnectionState& state, MsgBox& msgBox, ProgramEnd& end,
            QWidget* parent = nullptr);
    ~frmInfo() override;

    // Sets the three ticks from three separate queries. Returns false when the program was
    // ended (no connection source at all); the window must then not be shown.
    bool Form_Load();

public slots:
    void cmdOK_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // No button of this window answers Escape.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::frmInfo> ui_;
    InternetConnectionState& state_;
    MsgBox& msgBox_;
    ProgramEnd& end_;
};

} // namespace horlan
