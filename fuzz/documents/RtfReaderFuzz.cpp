// Arbitrary bytes must give text or a clear error from the RTF reader: never a crash, a hang
// or unbounded memory. What was read must also be writable and readable again.
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "RtfReader.h"
#include "RtfWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  TRtfReader::TLimits limits;
  limits.maxCharacters = 1 << 20;
  TRtfReader reader(limits);
  QTextDocument document;
  const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
  if (!reader.Read(input, document)) {
    if (reader.Error().isEmpty()) std::abort();  // a failure always says why
    return 0;
  }
  const QByteArray written = TRtfWriter::Write(document);
  QTextDocument again;
  if (!reader.Read(written, again)) std::abort();
  if (again.blockCount() != document.blockCount()) std::abort();
  return 0;
}
