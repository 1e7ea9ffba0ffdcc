// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/Fonts.h"

#include <QFont>
#include <QStringList>

namespace Fonts {

void InstallSubstitutes() {
  // Metric-compatible faces first (Debian's fonts-liberation2, or the same designs under
  // other names), then the URW faces and the ever-present DejaVu.
  const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                            QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")};
  const QStringList serif = {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                             QStringLiteral("Nimbus Roman"), QStringLiteral("DejaVu Serif")};
  const QStringList mono = {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                            QStringLiteral("Nimbus Mono PS"), QStringLiteral("DejaVu Sans Mono")};
  for (const char *face : {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Tahoma"})
    QFont::insertSubstitutions(QString::fromLatin1(face), sans);
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
  QFont::insertSubstitutions(QStringLiteral("Courier New"), mono);
}

QFont Face(const QString &family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace Fonts
