// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The address technical-support requests go to: the user's own choice when they changed it in
// a support request, else the address the program was built with (a packager sets it with the
// CMake variable VELLUMIX_SUPPORT_ADDRESS). Kept in the settings tree, section "Support",
// value "Address".
namespace SupportAddress {

QString Current();
// Keeps an address the user sent a support request to, when it is not the current one.
void Remember(const QString &address);

}  // namespace SupportAddress
