#pragma once

class QWidget;

namespace horlan {

// Lets `widget` (a small, often changing picture over a parent that is costly to paint, such as
// a group box with its title) repaint without its parent: what the parent draws behind it is
// kept in a pixmap and drawn first on each of the widget's paints. The copy is made again when
// the widget moves or changes size, palette, style, font, state or pixel ratio. Lives as long as
// the widget.
void PaintOverCachedBackdrop(QWidget* widget);

} // namespace horlan
