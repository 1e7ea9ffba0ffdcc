// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace MenuText {

// A file or window name as a menu item's text, shown as it is: each "&" doubled, so that it
// is not taken as the mark of the item's access key.
inline QString Literal(QString name) { return name.replace(u'&', QStringLiteral("&&")); }

}  // namespace MenuText
