#include "runtime/LabelClick.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace horlan {

namespace {

class LabelClickFilter : public QObject {
public:
    LabelClickFilter(QLabel* label, std::function<void()> onClick)
        : QObject(label), label_(label), onClick_(std::move(onClick)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                label_->rect().contains(mouse->position().toPoint())) {
                onClick_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* label_;
    std::function<void()> onClick_;
};

} // namespace

void ConnectClick(QLabel* label, std::function<void()> onClick) {
    label->installEventFilter(new LabelClickFilter(label, std::move(onClick)));
}

} // namespace horlan
