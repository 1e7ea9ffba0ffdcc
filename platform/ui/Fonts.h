// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's windows name the classic Windows faces ("MS Sans Serif", "Arial", ...), whose
// sizes their fixed layouts were made for. Linux has none of them; left to fontconfig, "MS
// Sans Serif" becomes a much wider face and labels no longer fit. These substitutes have the
// same or narrower letter widths.
#include <QFont>
#include <QString>

namespace Fonts {

// Registers the substitutes with Qt; idempotent. Call once a QGuiApplication exists.
void InstallSubstitutes();

// A face of family at a size in pixels, as the fixed layouts give them. Its weight is set
// either way, so that a regular face does not take the bold of the window it is in.
QFont Face(const QString &family, int pixelSize, bool bold = false);

}  // namespace Fonts
