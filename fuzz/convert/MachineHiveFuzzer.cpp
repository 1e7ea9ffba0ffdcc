// SPDX-License-Identifier: GPL-3.0-or-later
// The machine-wide registrations and the converter lists built from them: any file must give
// a list (possibly empty) or a named error, never a crash.
#include <cstdint>
#include <cstdlib>

#include "convert/core/TextConverters.h"
#include "settings/core/MachineHive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  TMachineHive hive;
  hive.Merge(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)),
             QStringLiteral("fuzz"));
  TTextConverters converters(std::move(hive));
  for (const auto direction :
       {TTextConverters::TDirection::Import, TTextConverters::TDirection::Export}) {
    const QStringList names = converters.ConverterNames(direction);
    if (names.value(0) != TTextConverters::RichText()) std::abort();
    if (converters.BuildConverterFilter(direction).split(u'|').size() != 2 * names.size())
      std::abort();
  }
  return 0;
}
