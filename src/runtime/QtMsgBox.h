#pragma once

#include "runtime/MsgBox.h"

class QMessageBox;

namespace horlan {

// Message boxes as QMessageBox, owned by the active window. The request's text stays exact;
// only the displayed copy has its CR LF pairs turned into line breaks.
class QtMsgBox : public MsgBox {
public:
    void Show(const MsgBoxRequest& request) override;
    bool Ask(const MsgBoxRequest& request) override;

    // Builds the box that Show() runs; kept apart so its text and title can be checked.
    static void Configure(QMessageBox& box, const MsgBoxRequest& request);
};

} // namespace horlan
