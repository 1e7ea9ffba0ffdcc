// SPDX-License-Identifier: GPL-3.0-or-later
// Any run of changes made to a text store leaves the text a plain string gets from the same
// changes, and lines, positions and rows that agree with that text. The first byte sets the
// chunk size (small, so that changes cross chunk edges); then each change takes six bytes: the
// range changed, and the length and letters of the text put in its place.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

#include "documents/store/TextStore.h"

namespace {
void Check(const TTextStore &store, const QString &text) {
  if (store.Text() != text || store.Length() != text.size()) std::abort();
  const QStringList lines = text.split(u'\n');
  if (store.LineCount() != lines.size() || store.RowCount() < lines.size()) std::abort();
  qsizetype start = 0;
  for (qsizetype line = 0; line < lines.size(); ++line) {
    if (store.LineStart(line) != start || store.Line(line) != lines[line]) std::abort();
    if (store.LineAt(start) != line || store.LineAt(start + lines[line].size()) != line)
      std::abort();
    if (store.LineAtRow(store.FirstRow(line)) != line) std::abort();
    start += lines[line].size() + 1;
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 1 || size > 4096) return 0;
  static const QString letters = QStringLiteral("ab\n\n \r\u00e9\u20ac");
  TTextStore store(1 + data[0] % 16);
  QString text;
  for (size_t at = 1; at + 6 <= size; at += 6) {
    const uint8_t *op = data + at;
    const qsizetype from = (op[0] << 8 | op[1]) % (text.size() + 1);
    const qsizetype to = from + (op[2] << 8 | op[3]) % (text.size() - from + 1);
    if (op[4] & 0x80) {
      // Rows instead of a change: the view laid a line out.
      store.SetRows(store.LineAt(from), 1 + op[5] % 5);
      continue;
    }
    QString added;
    for (int i = 0; i < op[4]; ++i) added.append(letters[(op[5] + i * 7) % letters.size()]);
    store.Replace(from, to, added);
    text.replace(from, to - from, added);
  }
  Check(store, text);
  return 0;
}
