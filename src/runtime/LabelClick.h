#pragma once

#include <functional>

class QLabel;

namespace horlan {

// Makes a label clickable: `onClick` runs when the left button is released over it. The
// handler lives as long as the label.
void ConnectClick(QLabel* label, std::function<void()> onClick);

} // namespace horlan
