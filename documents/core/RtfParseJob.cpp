// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/RtfParseJob.h"

#include <new>

#include "documents/core/RtfParser.h"

TRtfParseJob::TRtfParseJob(QByteArray rtf, const TRtfLimits &limits) : rtf_(std::move(rtf)) {
  thread_ = std::thread([this, limits] { run(limits); });
  if (Started) Started(*this);
}

TRtfParseJob::~TRtfParseJob() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

void TRtfParseJob::run(const TRtfLimits &limits) {
  try {
    parsed_ = RtfParser::Parse(rtf_, limits, [this](int perMille) {
      progress_ = perMille;
      return !cancel_;
    });
  } catch (const std::bad_alloc &) {
    parsed_ = TRtfParsed{};
    parsed_.error = QStringLiteral("There is not enough memory to read it");
  }
  if (cancel_ && !parsed_.cancelled) {
    // Stopped after the last look at the flag: nothing of it is wanted.
    parsed_ = TRtfParsed{};
    parsed_.cancelled = true;
    parsed_.error = QStringLiteral("Reading the rich text document was cancelled");
  }
  rtf_ = QByteArray();
  progress_ = 1000;
  finished_ = true;
}
