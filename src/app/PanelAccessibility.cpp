#include "app/PanelAccessibility.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

namespace horlan {

namespace {

bool IsPanel(const QObject* object) {
    return object != nullptr && object->property("horlanPanel").toBool();
}

bool IsCaption(const QObject* object) {
    return object->property("horlanCaption").toBool();
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

// Asked for each class of `object` from the most derived up; the answer does not depend on it.
QAccessibleInterface* PanelInterface(const QString&, QObject* object) {
    if (!object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (IsPanel(widget)) {
        return new PanelAccessible(widget);
    }
    auto* label = qobject_cast<QLabel*>(widget);
    if (label != nullptr && IsPanel(label->parentWidget()) && !IsCaption(label)) {
        return new ValueLabelAccessible(label);
    }
    return nullptr;
}

} // namespace

void InstallPanelAccessibility() {
    QAccessible::installFactory(&PanelInterface); // once: Qt keeps each factory once
}

} // namespace horlan
