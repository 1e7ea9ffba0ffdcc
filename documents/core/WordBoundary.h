// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChar>

// What counts as part of a word for whole-word searches and the word at the caret:
// letters and digits of any script, and the underscore.
inline bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }
