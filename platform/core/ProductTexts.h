// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The product's own texts, defined once: the name every window, message and stored service
// name carries, and the file name of a document that was never saved.
namespace ProductTexts {

inline constexpr char kName[] = "Vellumix";
inline constexpr char kUntitled[] = "untitled.txt";

inline QString Name() { return QString::fromLatin1(kName); }
inline QString Untitled() { return QString::fromLatin1(kUntitled); }

}  // namespace ProductTexts
