// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <functional>

#include "documents/core/RtfContent.h"

// Reads rich text (RTF) into plain data: the text with its Unicode and code-page escapes, the
// runs of one character format (bold, italic, underline, strike-out, font, size, colour) and
// the paragraphs with their alignment. Destinations it does not show (pictures, headers, style
// sheets, document information, field instructions, anything marked ignorable) are skipped.
//
// It needs no application object and touches nothing shared, so it may run on any thread.
// Time and memory grow in proportion to the input, which is read once; the bounds in
// TRtfLimits make damaged or hostile input give either text or a clear error.
namespace RtfParser {

// Told now and then, on the thread that reads, how much is read (0 to 1000); returning false
// cancels the read.
using TProgress = std::function<bool(int perMille)>;

TRtfParsed Parse(QByteArrayView rtf, const TRtfLimits &limits, const TProgress &progress = {});

}  // namespace RtfParser
