// SPDX-License-Identifier: GPL-3.0-or-later
// Web addresses found around any place of any text: each lies in the text, overlaps the place
// asked about and holds no blank, they come in order without overlapping, and in a text within
// reach they are those a search of the whole text finds there.
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "documents/core/WebAddresses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 4) return 0;
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char *>(data + 4), qsizetype(size - 4));
  const qsizetype from = (data[0] << 8 | data[1]) % (text.size() + 1);
  const qsizetype to = from + (data[2] << 8 | data[3]) % (text.size() - from + 1);
  const qsizetype queryEnd = std::max(to, from + 1);
  const std::vector<WebAddresses::TSpan> spans = WebAddresses::Overlapping(text, from, to);
  qsizetype previousEnd = 0;
  for (const WebAddresses::TSpan &span : spans) {
    if (span.start < previousEnd || span.length <= 0 || span.end() > text.size()) std::abort();
    if (span.end() <= from || span.start >= queryEnd) std::abort();
    for (qsizetype i = span.start; i < span.end(); ++i)
      if (text[i] == u' ' || text[i] == u'\n' || text[i] == u'\t') std::abort();
    previousEnd = span.end();
  }
  if (text.size() <= WebAddresses::Reach) {
    std::vector<WebAddresses::TSpan> expected;
    for (const WebAddresses::TSpan &span : WebAddresses::Overlapping(text, 0, text.size()))
      if (span.end() > from && span.start < queryEnd) expected.push_back(span);
    if (expected != spans) std::abort();
  }
  const QStringView at = WebAddresses::At(text, from);
  if (!at.isEmpty() &&
      (at.data() > text.constData() + from || at.data() + at.size() <= text.constData() + from))
    std::abort();
  return 0;
}
