// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// The editor's default face. The stored default, "Souvenir Lt BT", is not installed on Linux
// systems, and the system's fallback for it is proportional, which breaks the columns of
// indented or tabulated plain text. It is therefore shown, on screen and on paper, in an
// installed monospaced face, while the settings keep the family as the user chose it.
namespace EditorFont {

// The family the settings give a new document window.
QString DefaultFamily();

// The installed monospaced family that stands in for the default: Liberation Mono, else
// DejaVu Sans Mono, else the system's fixed-pitch font.
QString MonospacedFamily();

// Makes every font asking for the default family, where that family is not installed, show in
// MonospacedFamily(). Runs once; needs the application object.
void InstallSubstitutes();

// The font to lay text out in for a font the user chose: the default family, when it is not
// installed, becomes MonospacedFamily(); anything else stays. For code that draws text
// itself (printing).
QFont ShownFont(const QFont &chosen);

}  // namespace EditorFont
