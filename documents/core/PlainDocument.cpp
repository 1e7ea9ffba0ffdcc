// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/PlainDocument.h"

namespace PlainDocument {

bool MayHaveOwnBreaks(const TTextModel &document) { return document.store().HasTags(); }

bool HasFormats(const TTextModel &document) {
  // A paragraph format once made may stand on some line.
  return document.hasFormats() || document.paragraphFormats().size() > 1;
}

bool MarkBreaks(TTextStore &store, const std::vector<uint8_t> &breaks, uint8_t lineEnd,
                const TKeepGoing &keepGoing) {
  const auto count = qint64(breaks.size());
  const qsizetype lines = store.LineCount();
  for (size_t i = 0; i < breaks.size() && qsizetype(i) + 1 < lines; ++i) {
    if ((i & 0xFFFF) == 0 && !KeepGoing(keepGoing, qint64(i), count)) return false;
    if (breaks[i] != lineEnd) store.SetTag(qsizetype(i) + 1, uint8_t(breaks[i] + 1));
  }
  return true;
}

std::unique_ptr<TTextStore> Build(const QString &text, const std::vector<uint8_t> &breaks,
                                  uint8_t lineEnd, const TKeepGoing &keepGoing) {
  if (!KeepGoing(keepGoing, 0, text.size())) return nullptr;
  auto store = std::make_unique<TTextStore>();
  store->SetText(text);
  const TKeepGoing marking = [&](qint64 done, qint64 count) {
    return KeepGoing(keepGoing, text.size() * done / std::max<qint64>(count, 1), text.size());
  };
  if (!MarkBreaks(*store, breaks, lineEnd, marking)) return nullptr;
  return store;
}

}  // namespace PlainDocument
