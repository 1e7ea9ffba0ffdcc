// SPDX-License-Identifier: GPL-3.0-or-later
// Whatever lies in the recovery folder, reading it gives a record or a reason, never a crash,
// a hang or unbounded memory; a record that was read writes back to bytes that read the same.
#include <cstdint>
#include <cstdlib>

#include "documents/recovery/RecoveryRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
  QString error;
  const std::optional<TRecoveryRecord> record = RecoveryFile::Parse(input, &error);
  if (!record) {
    if (error.isEmpty()) std::abort();  // a refusal always says why
    return 0;
  }
  if (record->caret > record->text.size()) std::abort();
  const std::optional<TRecoveryRecord> again =
      RecoveryFile::Parse(RecoveryFile::Serialize(*record));
  if (!again || again->text != record->text || again->name != record->name ||
      again->caret != record->caret ||
      !(again->format == TTextFormat{record->format.encoding, record->format.lineEnd, {}}))
    std::abort();
  return 0;
}
