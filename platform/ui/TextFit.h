// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

class QWidget;

// Windows laid out control by control, at fixed places, for the narrow faces of another
// system: with the faces and the label languages here a caption can be wider than its
// control. FitTexts makes every label and button show its whole text: a label first grows
// into the free room beside it (to the left when it is right-aligned), and whatever is still
// too wide gets a smaller face. Each call starts again from the design, so it can run after
// every change of text, language or face.
namespace TextFit {

// The width widget needs to show its text in font; 0 for widgets that show no text.
int NeededWidth(const QWidget *widget, const QFont &font);

// Fits one label or button; other widgets are left alone.
void FitText(QWidget *widget);
// Fits every label and button of window.
void FitTexts(QWidget *window);

}  // namespace TextFit
