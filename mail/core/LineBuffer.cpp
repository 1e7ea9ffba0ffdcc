// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/LineBuffer.h"

void TLineBuffer::Append(QByteArrayView bytes) { data_.append(bytes); }

qsizetype TLineBuffer::LineEnd() const {
  const qsizetype found = data_.indexOf('\n', std::max(start_, scanned_));
  if (found < 0) scanned_ = data_.size();
  return found;
}

QByteArray TLineBuffer::TakeLine() {
  const qsizetype end = LineEnd();
  if (end < 0) return {};
  QByteArray line = data_.mid(start_, end + 1 - start_);
  start_ = end + 1;
  scanned_ = start_;
  // Drop consumed bytes once they outweigh the rest, so taking many short lines stays linear.
  if (start_ == data_.size()) {
    Clear();
  } else if (start_ > 4096 && start_ * 2 > data_.size()) {
    data_.remove(0, start_);
    scanned_ -= start_;
    start_ = 0;
  }
  return line;
}

void TLineBuffer::Clear() {
  data_.clear();
  start_ = 0;
  scanned_ = 0;
}
