// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/SpellErrors.h"

#include <utility>

TSpellError::TSpellError(QString message)
    : message_(std::move(message)), utf8_(message_.toUtf8()) {}
