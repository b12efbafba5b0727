#include "app/PanelAccessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

namespace horlan {

namespace {

constexpr const char* kCaption = "horlanCaption";

bool IsCaption(const QObject* object) {
    return object->property(kCaption).toBool();
}

// The panel without its captions among its children.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(QWidget* panel) : QAccessibleWidget(panel, QAccessible::Pane) {}

    int childCount() const override { return static_cast<int>(Shown().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> shown = Shown();
        return index >= 0 && index < shown.size()
                   ? QAccessible::queryAccessibleInterface(shown.at(index))
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr ? static_cast<int>(Shown().indexOf(child->object())) : -1;
    }

private:
    QList<QWidget*> Shown() const {
        QList<QWidget*> shown;
        for (QObject* child : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (w != nullptr && !w->isWindow() && !IsCaption(w)) {
                shown.append(w);
            }
        }
        return shown;
    }
};

// A value label: named after its field, its text read as text.
class ValueLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ValueLabelAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                                  : QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? Text() : QAccessibleWidget::text(kind);
    }

    QString text(int startOffset, int endOffset) const override {
        return Text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Text().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }

private:
    QString Text() const { return static_cast<QLabel*>(widget())->text(); }
};

} // namespace

void MarkPanelForScreenReaders(QWidget* panel, const QList<QWidget*>& captions) {
    for (QWidget* caption : captions) {
        caption->setProperty(kCaption, true);
    }
    // Registered before anything asks, these stand in for Qt's own views of the panel and its
    // labels; the cache drops them with their widgets.
    QAccessible::registerAccessibleInterface(new PanelAccessible(panel));
    for (QLabel* label : panel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!IsCaption(label)) {
            QAccessible::registerAccessibleInterface(new ValueLabelAccessible(label));
        }
    }
}

} // namespace horlan
