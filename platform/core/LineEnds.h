// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace LineEnds {

// text with each line end (CR LF, a lone CR, LF) as one LF: how the edit controls hold text.
QString ToNewlines(const QString &text);

}  // namespace LineEnds
