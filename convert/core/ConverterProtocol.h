// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The byte stream between the program and a converter program. A converter is started once
// per call with the call as its arguments:
//   <converter> --format FORMAT ready            exit 0: ready
//   <converter> --format FORMAT check FILE       exit 0: FILE is in the format, 1: it is not
//   <converter> --format FORMAT import FILE      stdout: the document as RTF, in chunks
//   <converter> --format FORMAT export FILE      stdin: the text (UTF-8), in chunks
// A chunk is "DATA <n>\n" followed by n bytes, 1 <= n <= 4096. The sender of the chunks ends
// with "END\n"; a converter ends its answer with "DONE\n" or "ERROR <text>\n" (the reason, on
// one line) and exits.
namespace ConverterProtocol {

inline constexpr qsizetype MaxChunk = 4096;
inline constexpr qsizetype MaxErrorText = 1000;

// The chunks of bytes, each at most MaxChunk long.
QByteArray Chunks(QByteArrayView bytes);
QByteArray End();
QByteArray Done();
QByteArray Error(const QString &reason);

}  // namespace ConverterProtocol

// Reads a chunked stream as it arrives, with a bound on the total it accepts.
class TChunkReader {
 public:
  enum class TState { More, Ended, Done, Failed };

  explicit TChunkReader(qsizetype maxTotal) : maxTotal_(maxTotal) {}

  // Takes the next bytes; the payload of every complete chunk is appended to out. Answers
  // More while the stream goes on, Ended after "END", Done after "DONE", Failed after
  // "ERROR" or anything out of form (Error() says which). Bytes after the end are a fault.
  TState Feed(QByteArrayView bytes, QByteArray &out);
  TState State() const { return state_; }
  QString Error() const { return error_; }
  qsizetype Total() const { return total_; }

 private:
  TState fail(const QString &error);

  qsizetype maxTotal_;
  qsizetype total_ = 0;
  qsizetype pending_ = 0;  // bytes of the current chunk still to come
  QByteArray line_;
  TState state_ = TState::More;
  QString error_;
};
