#include "runtime/LabelClick.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace horlan {

namespace {

class LabelClickFilter : public QObject {
public:
    LabelClickFilter(QLabel* label, std::function<void()> onClick)
        : QObject(label), label_(label), onClick_(std::move(onClick)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_) {
            return QObject::eventFilter(watched, event);
        }
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                label_->rect().contains(mouse->position().toPoint())) {
                onClick_();
                return true;
            }
            break;
        }
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                onClick_();
                return true;
            }
            break;
        }
        case QEvent::Paint:
            if (label_->hasFocus()) {
                PaintWithFocusFrame(label_, event, label_->palette().color(QPalette::WindowText),
                                    label_->rect().adjusted(0, 0, -1, -1));
                return true;
            }
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLabel* label_;
    std::function<void()> onClick_;
};

// Relative luminance of a colour as the web's accessibility guidelines define it.
double Luminance(const QColor& color) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

void PaintWithFocusFrame(QWidget* widget, QEvent* paint, const QColor& color, const QRect& frame) {
    static_cast<QObject*>(widget)->event(paint); // the widget's own painting comes first
    QPainter painter(widget);
    painter.setPen(QPen(color, 1, Qt::DotLine));
    painter.drawRect(frame);
}

void ConnectClick(QLabel* label, std::function<void()> onClick) {
    label->setFocusPolicy(Qt::StrongFocus);
    label->installEventFilter(new LabelClickFilter(label, std::move(onClick)));
}

QColor LinkColor(const QColor& documented, const QPalette& palette) {
    constexpr double kReadableContrast = 4.5;
    return Contrast(documented, palette.color(QPalette::Window)) >= kReadableContrast
               ? documented
               : palette.color(QPalette::Link);
}

void SetLinkColor(QLabel* label, const QColor& documented) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, LinkColor(documented, palette));
    label->setPalette(palette);
}

} // namespace horlan
