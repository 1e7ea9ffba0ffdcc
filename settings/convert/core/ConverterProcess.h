#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// One converter program (see ConverterProtocol.h) and its four calls. Each call starts the
// program, waits for it in an event loop (the windows keep running) with a time limit, and
// turns every way it can fail - missing, crashed, too slow, out of form, too large - into a
// clear message naming the converter.
class TConverterProcess {
 public:
  // Bounds of every call; tests shorten the time limit.
  static inline int TimeLimitMs = 300000;
  static inline qsizetype SizeLimit = 256 * 1024 * 1024;

  TConverterProcess(QString program, QString format);

  // Bytes received or sent so far, after each chunk.
  std::function<void(qsizetype bytes)> OnProgress;

  bool Ready();
  // True when the file is in the converter's format; false when it is not or the call failed
  // (then Error() is set).
  bool IsFormatCorrect(const QString &file);
  bool ForeignToRtf(const QString &file, QByteArray &rtf);
  bool RtfToForeign(const QString &file, const QByteArray &text);

  QString Error() const { return error_; }
  // The converter does not offer the call it was asked for (exit status 3).
  bool Unsupported() const { return unsupported_; }

 private:
  // Runs the program; exit code, or -1 with error_ set.
  int run(const QStringList &call, const QByteArray &input, QByteArray *chunked);

  QString program_;
  QString format_;
  QString error_;
  bool unsupported_ = false;
};
