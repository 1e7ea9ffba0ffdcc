// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes must give text or a clear error from the RTF reader: never a crash, a hang
// or unbounded memory. What was read is made a document in slices of a size the input
// decides, which must equal the document made in one go; it is laid out as the edit widget
// lays it out (wrapped to a width, every block), so that inputs which read quickly but lay
// out slowly are found too; and it must be writable and readable again.
#include <QApplication>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "documents/core/RtfBuilder.h"
#include "documents/core/RtfParser.h"
#include "documents/core/RtfReader.h"
#include "documents/core/RtfWriter.h"

namespace {
void EnsureApplication() {
  static int argc = 1;
  static char name[] = "rtf_reader_fuzzer";
  static char *argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Lives as long as the process: the font caches it fills stay reachable to the end.
  static QApplication *application = new QApplication(argc, argv);
  Q_UNUSED(application);
}

void LayOut(QTextDocument &document) {
  auto *layout = new QPlainTextDocumentLayout(&document);
  document.setDocumentLayout(layout);
  document.setTextWidth(480);
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    layout->blockBoundingRect(block);
}
}  // namespace

// fontconfig keeps a few hundred bytes of its first font match where no pointer reaches them
// (once per process, whatever the input); they are not this program's.
extern "C" const char *__lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  EnsureApplication();
  TRtfLimits limits;
  limits.maxCharacters = 1 << 20;
  const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
  const TRtfParsed parsed = RtfParser::Parse(input, limits);
  if (!parsed.Ok()) {
    if (parsed.error.endsWith(u'.'))
      std::abort();  // a failure always says why, as a sentence a message box can end
    return 0;
  }
  QTextDocument document;
  {
    TRtfDocumentBuilder builder(parsed.content, document);
    const qsizetype work = 1 + qsizetype(size % 509);
    while (builder.Step(work)) {
    }
  }
  QTextDocument whole;
  TRtfDocumentBuilder(parsed.content, whole).Finish();
  if (whole.toRawText() != document.toRawText() || whole.blockCount() != document.blockCount())
    std::abort();
  LayOut(document);
  const QByteArray written = TRtfWriter::Write(document);
  TRtfReader reader(limits);
  QTextDocument again;
  if (!reader.Read(written, again)) std::abort();
  if (again.blockCount() != document.blockCount()) std::abort();
  return 0;
}
