#include "runtime/CachedBackdrop.h"

#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QPaintEngine>
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
        QPainter painter(widget_);
        const qreal ratio = widget_->devicePixelRatioF();
        if (!backdrop_.isNull()) {
            painter.drawPixmap(QRect(QPoint(), widget_->size()), backdrop_);
            if (backdrop_.devicePixelRatio() != ratio) {
                Forget(); // the next paint takes a sharp copy
                widget_->update();
            }
            return;
        }
        // Not opaque yet, so the parent has just painted beneath. When this paint goes to the
        // window's own buffer, what lies there now is the backdrop to keep.
        QBackingStore* store = widget_->backingStore();
        const auto* buffer =
            store != nullptr ? dynamic_cast<QImage*>(store->paintDevice()) : nullptr;
        if (buffer == nullptr || painter.paintEngine()->paintDevice() != buffer) {
            return;
        }
        const QRect area =
            painter.deviceTransform().mapRect(QRectF(widget_->rect())).toAlignedRect();
        if (!buffer->rect().contains(area)) {
            return;
        }
        backdrop_ = QPixmap::fromImage(buffer->copy(area));
        backdrop_.setDevicePixelRatio(ratio);
        // From now on Qt paints nothing behind the widget: the copy covers every pixel.
        widget_->setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Forget() {
        backdrop_ = QPixmap();
        widget_->setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

    QWidget* widget_;
    QPixmap backdrop_;
};

} // namespace

void PaintOverCachedBackdrop(QWidget* widget) {
    new CachedBackdrop(widget);
}

} // namespace horlan
