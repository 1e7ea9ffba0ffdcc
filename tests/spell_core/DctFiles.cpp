// SPDX-License-Identifier: GPL-3.0-or-later
#include "DctFiles.h"

#include "TestEnvironment.h"
#include "spell/core/DCTFile.h"
#include "spell/core/DictionaryCompiler.h"

namespace DctFiles {

uint32_t Node(char letter, bool last, bool wordEnd, uint32_t child) {
  return uint32_t(static_cast<unsigned char>(letter)) << 24 | (last ? 0x00800000u : 0u) |
         (wordEnd ? 0x00400000u : 0u) | child;
}

QByteArray Bytes(const QList<uint32_t> &nodes, char byte0, char filler, const QByteArray &tail) {
  QByteArray out(1, byte0);
  out += TDCTFile::Signature();
  out += QByteArray(32, filler);
  for (uint32_t v : nodes) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.append(b, 4);
  }
  return out + tail;
}

QString Write(const QString &folder, const QString &name, const QByteArray &bytes) {
  return TestEnvironment::WriteFile(folder + QLatin1Char('/') + name, bytes);
}

QString Compile(const QString &folder, const QString &name, const QStringList &words) {
  TDictionaryCompiler compiler;
  for (const QString &word : words) compiler.AddWord(word);
  QString path = folder + QLatin1Char('/') + name;
  compiler.Write(path);
  return path;
}

}  // namespace DctFiles
