// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "settings/ui/PropertyBinding.h"

// A font stored by its sub-properties, in the order of their names: Charset, Color, Height,
// Name, Pitch, Size, Style. Loading in this order applies the size after the height, so the
// size wins when the two disagree.
//  - Charset: integer, kept with the widget (Qt fonts have no character set; default 1).
//  - Color: the widget's text colour (palette), as a colour value.
//  - Height: pixels, negative for the character height (-13); Size: points.
//  - Name: the family; Pitch: fpDefault, fpVariable or fpFixed; Style: a set of fsBold,
//    fsItalic, fsUnderline, fsStrikeOut.
namespace FontBinding {

using TParts = std::vector<std::pair<QString, std::unique_ptr<TValueAccessor>>>;

TParts Parts(QWidget *widget, const std::function<QFont()> &get,
             const std::function<void(const QFont &)> &set);

}  // namespace FontBinding
