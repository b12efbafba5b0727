#pragma once

#include <QString>

namespace horlan {

enum class MsgBoxIcon { None, Critical, Exclamation, Information, Question };

// One message box with an OK button (or Yes and No, for a question). Line breaks in `Prompt` are CR LF (a few texts use
// bare LF); an empty `Title` means the application's title.
struct MsgBoxRequest {
    QString Prompt;
    MsgBoxIcon Icon = MsgBoxIcon::None;
    QString Title;
    QString HelpFile;
    int HelpContext = 0;

    bool operator==(const MsgBoxRequest&) const = default;
};

// Seam: shows message boxes. Show() returns when the user has dismissed the box.
class MsgBox {
public:
    virtual ~MsgBox() = default;

    // Shows the box modally and waits for OK.
    virtual void Show(const MsgBoxRequest& request) = 0;

    // Shows the box with Yes and No, No the default, and waits: true for Yes. A box that
    // cannot ask answers No.
    virtual bool Ask(const MsgBoxRequest& request) {
        Show(request);
        return false;
    }

    void operator()(const QString& prompt, MsgBoxIcon icon = MsgBoxIcon::None,
                    const QString& title = {}, const QString& helpFile = {}, int helpContext = 0) {
        Show(MsgBoxRequest{prompt, icon, title, helpFile, helpContext});
    }
};

} // namespace horlan
