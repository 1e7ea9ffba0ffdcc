// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/SupportAddress.h"

#include "VellumixVersion.h"
#include "settings/core/RootKey.h"

namespace {

const QString kSection = QStringLiteral("Support");
const QString kValue = QStringLiteral("Address");

}  // namespace

namespace SupportAddress {

QString Current() {
  const TRootKey root;
  const QString stored = root.ReadString(kSection, kValue, QString()).trimmed();
  return stored.isEmpty() ? QString::fromLatin1(kSupportAddress) : stored;
}

void Remember(const QString &address) {
  const QString chosen = address.trimmed();
  if (chosen.isEmpty() || chosen == Current()) return;
  TRootKey root;
  root.WriteString(kSection, kValue, chosen);
}

}  // namespace SupportAddress
