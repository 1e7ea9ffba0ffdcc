// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the print template reader. Whatever it accepts must fit its page,
// and write back and read again to the same template and the same bytes.
#include <cstdint>
#include <cstdlib>

#include "print/core/TemplateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  QString error;
  const std::optional<TReportTemplate> report = TemplateFile::Parse(bytes, &error);
  if (!report) {
    if (error.isEmpty()) std::abort();  // a refusal always says why
    return 0;
  }
  // Whatever is accepted fits its page, so laying it out stays bounded.
  if (!FitProblem(*report).isEmpty()) std::abort();
  const QByteArray written = TemplateFile::Format(*report);
  const std::optional<TReportTemplate> again = TemplateFile::Parse(written, &error);
  if (!again || *again != *report || TemplateFile::Format(*again) != written) std::abort();
  return 0;
}
