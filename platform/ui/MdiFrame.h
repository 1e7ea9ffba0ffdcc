// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMdiArea;

// Window arrangements of the multiple-document frame that Qt's area lacks.
namespace MdiFrame {

// Tiles the visible, not minimised document windows in horizontal strips, one above the other,
// each as wide as the area.
void TileHorizontally(QMdiArea *area);

// Cascades the visible, not minimised document windows from the top left corner, each one
// title-bar height further down and right, all of the same size and wholly inside the area
// (when there are too many for that, the steps start again at the corner).
void Cascade(QMdiArea *area);

// Lines the minimised document windows up along the bottom edge of the area.
void ArrangeIcons(QMdiArea *area);

}  // namespace MdiFrame
