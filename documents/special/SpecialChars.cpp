// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/special/SpecialChars.h"

#include "platform/core/CodePage.h"

namespace SpecialChars {

namespace {

bool Undefined(int code) {
  return code == 0 || code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

}  // namespace

int CodeOf(int column, int row) { return (column * RowCount + row + 1) % 256; }

int LabelCode(int column, int row) {
  const int code = column * RowCount + row + 1;
  return code > 255 ? 0 : code;
}

QString LabelText(int column, int row) {
  return QStringLiteral("Char: ") + QString::number(LabelCode(column, row));
}

QString CharOf(int code) {
  if (code < 0 || code > 255 || Undefined(code)) return {};
  return QString(QChar(CodePage::Windows1252ToUnicode(static_cast<unsigned char>(code))));
}

QString DisplayOf(int code) {
  if (code < 0 || code > 255 || Undefined(code)) return {};
  if (code < 32 || code == 127) return {};  // control codes have no picture of their own
  return CharOf(code);
}

}  // namespace SpecialChars
