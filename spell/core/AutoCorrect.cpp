// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/AutoCorrect.h"

#include "platform/core/CodePage.h"

TAutoCorrectPairs ParseAutoCorrectList(const QByteArray &text) {
  TAutoCorrectPairs pairs;
  for (const QString &line : QString::fromUtf8(text).split(u'\n')) {
    QString entry = line;
    if (entry.endsWith(u'\r')) entry.chop(1);
    const qsizetype equals = entry.indexOf(u'=');
    if (equals <= 0 || equals == entry.size() - 1) continue;
    pairs.from.append(CodePage::ToOem437(entry.left(equals)).toLower());
    pairs.to.append(entry.mid(equals + 1));
  }
  return pairs;
}
