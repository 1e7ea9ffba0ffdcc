// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gui/EditorFont.h"

#include <QFontDatabase>

namespace EditorFont {

QString DefaultFamily() { return QStringLiteral("Souvenir Lt BT"); }

QString MonospacedFamily() {
  for (const QString &family :
       {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")})
    if (QFontDatabase::hasFamily(family)) return family;
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

void InstallSubstitutes() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  if (QFontDatabase::hasFamily(DefaultFamily())) return;
  QFont::insertSubstitution(DefaultFamily(), MonospacedFamily());
}

QFont ShownFont(const QFont &chosen) {
  QFont shown = chosen;
  if (chosen.family().compare(DefaultFamily(), Qt::CaseInsensitive) == 0 &&
      !QFontDatabase::hasFamily(chosen.family()))
    shown.setFamily(MonospacedFamily());
  return shown;
}

}  // namespace EditorFont
