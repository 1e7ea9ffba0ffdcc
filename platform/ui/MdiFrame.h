#pragma once

class QMdiArea;

// Window arrangements of the multiple-document frame that Qt's area lacks.
namespace MdiFrame {

// Tiles the visible, not minimised document windows in horizontal strips, one above the other,
// each as wide as the area.
void TileHorizontally(QMdiArea *area);

// Lines the minimised document windows up along the bottom edge of the area.
void ArrangeIcons(QMdiArea *area);

}  // namespace MdiFrame
