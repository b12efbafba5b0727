#pragma once

#include <functional>

class QColor;
class QEvent;
class QLabel;
class QPalette;
class QRect;
class QWidget;

namespace horlan {

// Makes a label a link: `onClick` runs when the left button is released over it, or when
// Return, Enter or Space is pressed while it holds the keyboard focus. Tab reaches it, and a
// dotted frame in its text colour shows the focus. The handler lives as long as the label.
void ConnectClick(QLabel* label, std::function<void()> onClick);

// The colour for a link's text: `documented` unless the window background of `palette` would
// leave it under 4.5:1 contrast (a dark theme), then the palette's own link colour.
QColor LinkColor(const QColor& documented, const QPalette& palette);

// For a paint event `paint` of `widget`, from an event filter: the widget paints itself, then
// a dotted frame of `color` along `frame` shows that it holds the keyboard focus.
void PaintWithFocusFrame(QWidget* widget, QEvent* paint, const QColor& color, const QRect& frame);

// Draws `label`'s text in LinkColor(documented, its palette).
void SetLinkColor(QLabel* label, const QColor& documented);

} // namespace horlan
