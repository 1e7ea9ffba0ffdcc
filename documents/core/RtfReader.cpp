// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/RtfReader.h"

#include <QTextDocument>

#include "documents/core/RtfBuilder.h"
#include "documents/core/RtfParser.h"

TRtfReader::TRtfReader() = default;

TRtfReader::TRtfReader(const TLimits &limits) : limits_(limits) {}

void TRtfReader::SetProgress(TProgress progress) { progress_ = std::move(progress); }

bool TRtfReader::Read(QByteArrayView rtf, QTextDocument &document) {
  error_.clear();
  truncated_ = false;
  formattingDropped_ = false;
  cancelled_ = false;
  document.clear();
  const auto told = [this](int perMille) { return !progress_ || progress_(perMille); };
  TRtfParsed parsed =
      RtfParser::Parse(rtf, limits_, [&told](int perMille) { return told(perMille / 2); });
  bool built = parsed.Ok();
  if (built) {
    // Slices of about a quarter of a megabyte, with progress told after each.
    constexpr qsizetype kSliceWork = qsizetype{256} * 1024;
    TRtfDocumentBuilder builder(parsed.content, document);
    while (built && builder.Step(kSliceWork)) built = told(500 + builder.Progress() / 2);
    if (!built) {
      parsed.cancelled = true;
      parsed.error = QStringLiteral("Reading the rich text document was cancelled");
    }
  }
  cancelled_ = parsed.cancelled;
  error_ = parsed.error;
  if (!built) {
    document.clear();
    return false;
  }
  truncated_ = parsed.truncated;
  formattingDropped_ = parsed.formattingDropped;
  return true;
}

QString TRtfReader::Error() const { return error_; }

bool TRtfReader::Truncated() const { return truncated_; }

bool TRtfReader::FormattingDropped() const { return formattingDropped_; }

bool TRtfReader::Cancelled() const { return cancelled_; }
