// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary document text to the word scanner bound to an edit control: words are
// scanned with and without mark-up skipping, some are replaced (by texts that may hold line
// breaks), and the control is edited behind the buffer's back between words. Every selected
// word must be exactly the word the scanner returned, and every count must end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "documents/core/MemoryEdit.h"
#include "platform/core/CodePage.h"
#include "spell/core/CEBuffer.h"

namespace {

class TNoView : public TWordCountView {
 public:
  void ShowCount() override {}
  bool IsShown() const override { return true; }
  void SetCounts(int, int) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 2 || size > (1 << 16)) return 0;
  const unsigned char mode = data[0];
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size) - 1);
  const QString lineEnds[] = {QStringLiteral("\n"), QStringLiteral("\r\n"), QStringLiteral("\r")};
  TMemoryEdit edit(text, lineEnds[mode % 3]);
  TCEBuffer buffer(edit);
  buffer.SetSkipMarkup(mode & 4);
  int scanned = 0;
  for (QByteArray word = buffer.NextWord(); !word.isEmpty(); word = buffer.NextWord()) {
    if (++scanned > 100000) std::abort();  // the scan must always move forward
    buffer.SelectWord();
    if (CodePage::ToOem437(edit.SelText()) != word) std::abort();
    const int choice = (scanned + mode) % 7;
    if (choice == 0) {
      buffer.ReplaceWord(text.mid(scanned % 13, scanned % 5));
    } else if (choice == 1) {
      // The user types before the word while the dialog waits; the replacement then looks
      // for the word again.
      edit.SetSelection(0, 0);
      edit.ReplaceSelection(QStringLiteral("x\n"));
      buffer.ReplaceWord(QStringLiteral("word"));
    } else if (choice == 2 && buffer.GetModified()) {
      buffer.LoadText();
      buffer.SetModified(false);
      buffer.BackToWordStart();
    }
  }
  TNoView view;
  buffer.SetRefreshInterval(1000000);
  buffer.CountWords(view);
  return 0;
}
