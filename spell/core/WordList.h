// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>

// Reading and writing plain-text word files (user dictionary, exclusion list): one word per
// line, line breaks CR LF, CR or LF when read, CR LF when written.
namespace WordFile {

// Files larger than this are refused rather than read into memory.
inline constexpr qint64 kMaxFileSize = qint64{64} * 1024 * 1024;

// Reads an open file to its end in pieces; false when it holds more than limit bytes or a read
// fails (bytes is then incomplete).
bool ReadAtMost(QIODevice &file, qint64 limit, QByteArray &bytes);

// The non-empty lines of text, in order.
QList<QByteArray> SplitLines(QByteArrayView text);
// Each word followed by CR LF.
QByteArray JoinLines(const QList<QByteArray> &words);

}  // namespace WordFile

// The user word list: kept sorted with ASCII letter case ignored; a word that equals a member
// apart from case is a duplicate and is not added again.
class TWordList {
 public:
  const QList<QByteArray> &Words() const { return words_; }
  qsizetype Count() const { return words_.size(); }

  bool Contains(QByteArrayView word) const;
  // False when the word was already a member.
  bool Insert(const QByteArray &word);
  // Replaces the contents with these words (sorted, duplicates dropped).
  void Assign(const QList<QByteArray> &words);
  void Clear() { words_.clear(); }

 private:
  QList<QByteArray>::const_iterator LowerBound(QByteArrayView word) const;

  QList<QByteArray> words_;
};
