#pragma once

#include <QList>

class QWidget;

namespace horlan {

// What a screen reader finds in the main window's dark panel: each value label named after its
// field (its accessible name) and read through its text, and the field captions left out of
// the tree, since their words are in those names. Call once, right after the panel's labels
// are made.
void MarkPanelForScreenReaders(QWidget* panel, const QList<QWidget*>& captions);

} // namespace horlan
