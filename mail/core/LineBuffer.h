// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The receive buffer of a connection: bytes are appended as they arrive and taken out one
// line at a time, a line ending with its line feed. Unread bytes never grow beyond one
// over-long line: once MaxLine bytes are waiting without a line feed the buffer counts as
// full and the reader stops receiving.
class TLineBuffer {
 public:
  explicit TLineBuffer(qsizetype maxLine) : maxLine_(maxLine) {}

  void Append(QByteArrayView bytes);
  // True when a complete line (ending with a line feed) is waiting.
  bool HasLine() const { return LineEnd() >= 0; }
  // The bytes up to and including the first line feed, removed from the buffer; empty when
  // no complete line is waiting.
  QByteArray TakeLine();
  // MaxLine bytes or more are waiting: receive nothing more until a line is taken.
  bool Full() const { return Size() >= maxLine_; }
  // A line longer than MaxLine is arriving: it can never be completed within bounds.
  bool LineTooLong() const { return Full() && !HasLine(); }
  qsizetype Size() const { return data_.size() - start_; }
  void Clear();

 private:
  qsizetype LineEnd() const;

  QByteArray data_;
  qsizetype start_ = 0;
  // Bytes from start_ up to here are known to hold no line feed.
  mutable qsizetype scanned_ = 0;
  qsizetype maxLine_;
};
