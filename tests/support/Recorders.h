#pragma once

// Recording stand-ins for the seams of the runtime library, and readable failure messages.

#include "runtime/Bell.h"
#include "runtime/MsgBox.h"
#include "runtime/ProgramEnd.h"

#include <QList>
#include <QString>
#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace horlan {

inline std::ostream& operator<<(std::ostream& os, const MsgBoxRequest& r) {
    QString prompt = r.Prompt;
    prompt.replace(QStringLiteral("\r"), QStringLiteral("\\r"))
        .replace(QStringLiteral("\n"), QStringLiteral("\\n"));
    return os << "MsgBox{title=\"" << r.Title.toStdString() << "\", icon=" << int(r.Icon)
              << ", prompt=\"" << prompt.toStdString() << "\"}";
}

// Records every box instead of showing it; `OnShow` runs while the "box is open".
class RecordingMsgBox : public MsgBox {
public:
    void Show(const MsgBoxRequest& request) override {
        Boxes.append(request);
        if (OnShow) {
            OnShow(request);
        }
    }
    bool Ask(const MsgBoxRequest& request) override {
        MsgBox::Ask(request);
        return Yes;
    }
    QList<MsgBoxRequest> Boxes;
    std::function<void(const MsgBoxRequest&)> OnShow;
    bool Yes = false; // the answer to every question
};

class RecordingEnd : public ProgramEnd {
public:
    void End() override { ++Count; }
    int Count = 0;
};

class RecordingBell : public Bell {
public:
    void Beep() override { ++Count; }
    int Count = 0;
};

} // namespace horlan
