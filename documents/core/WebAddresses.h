// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringView>
#include <vector>

// Web addresses in plain text: "http://", "https://", "ftp://", "mailto:" or "www." (any case)
// and what follows up to a blank, a quote or a bracket, without the punctuation that ends a
// sentence after it.
//
// An address holds no blank, so only the stretch of text between the blanks around a query is
// searched, and of that at most Reach characters on either side: a query in a line of
// megabytes costs what a few thousand characters cost. An address that starts more than Reach
// characters before the query is not found.
namespace WebAddresses {

inline constexpr qsizetype Reach = 4096;

struct TSpan {
  qsizetype start = 0;
  qsizetype length = 0;
  qsizetype end() const { return start + length; }
  bool operator==(const TSpan &) const = default;
};

// The addresses in text that overlap [from, to) (from == to: that contain from), in order.
std::vector<TSpan> Overlapping(QStringView text, qsizetype from, qsizetype to);

// The address that contains position, or an empty view.
QStringView At(QStringView text, qsizetype position);

}  // namespace WebAddresses
