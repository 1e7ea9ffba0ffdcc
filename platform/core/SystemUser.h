// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace SystemUser {

// The user's full name from the account database (the first field of its comment), or an
// empty text when none is recorded.
QString FullName();

}  // namespace SystemUser
