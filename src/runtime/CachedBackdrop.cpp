#include "runtime/CachedBackdrop.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace horlan {

namespace {

class CachedBackdrop : public QObject {
public:
    explicit CachedBackdrop(QWidget* widget) : QObject(widget), widget_(widget) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Paint:
            Paint();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
        case QEvent::FontChange:
        case QEvent::EnabledChange:
        case QEvent::ActivationChange:
            Forget();
            break;
        default:
            break;
        }
        return false; // the widget paints itself over the backdrop
    }

private:
    void Paint() {
        const qreal ratio = widget_->devicePixelRatioF();
        if (!backdrop_.isNull() && backdrop_.devicePixelRatio() == ratio) {
            QPainter(widget_).drawPixmap(0, 0, backdrop_);
            return;
        }
        // The first paint, at start-up or after a change, is an ordinary one: the parent has
        // just painted beneath. The copy is made at the next, which then needs it.
        if (!painted_) {
            painted_ = true;
            widget_->setAttribute(Qt::WA_OpaquePaintEvent, false);
            return;
        }
        QWidget* parent = widget_->parentWidget();
        if (parent == nullptr) {
            return;
        }
        backdrop_ = QPixmap(widget_->size() * ratio);
        backdrop_.setDevicePixelRatio(ratio);
        parent->render(&backdrop_, QPoint(), QRegion(widget_->geometry()),
                       QWidget::DrawWindowBackground);
        QPainter(widget_).drawPixmap(0, 0, backdrop_);
        // From now on Qt paints nothing behind the widget: the copy covers every pixel.
        widget_->setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Forget() {
        backdrop_ = QPixmap();
        painted_ = false;
        widget_->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    QWidget* widget_;
    QPixmap backdrop_;
    bool painted_ = false;
};

} // namespace

void PaintOverCachedBackdrop(QWidget* widget) {
    new CachedBackdrop(widget);
}

} // namespace horlan
