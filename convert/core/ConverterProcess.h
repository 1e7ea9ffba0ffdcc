// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QEventLoop;
class QProcess;

// One converter program (see ConverterProtocol.h) and its four calls. Each call starts the
// program in a process group of its own, waits for it in an event loop (the windows keep
// running) with a time limit, and turns every way it can fail - missing, crashed, too slow,
// out of form, too large, cancelled - into a clear message naming the converter. However a
// call ends, the whole group (the converter and the tool it runs) is ended with it.
class TConverterProcess {
 public:
  // Bounds of every call; tests shorten the time limit.
  static inline int TimeLimitMs = 300000;
  static inline qsizetype SizeLimit = qsizetype{256} * 1024 * 1024;

  TConverterProcess(QString program, QString format);
  ~TConverterProcess();
  TConverterProcess(const TConverterProcess &) = delete;
  TConverterProcess &operator=(const TConverterProcess &) = delete;

  // Bytes received or sent so far, after each chunk.
  std::function<void(qsizetype bytes)> OnProgress;

  bool Ready();
  // True when the file is in the converter's format; false when it is not or the call failed
  // (then Error() is set).
  bool IsFormatCorrect(const QString &file);
  bool ForeignToRtf(const QString &file, QByteArray &rtf);
  bool RtfToForeign(const QString &file, const QByteArray &text);

  // Ends the running call at once (from an event during the wait); the call answers failure
  // with Cancelled() set. Without a running call it does nothing.
  void Cancel();
  bool Cancelled() const { return cancelled_; }
  bool Running() const { return process_ != nullptr; }

  QString Error() const { return error_; }
  // The converter does not offer the call it was asked for (exit status 3).
  bool Unsupported() const { return unsupported_; }

 private:
  // Runs the program; exit code, or -1 with error_ set.
  int run(const QStringList &call, const QByteArray &input, QByteArray *chunked);
  // Kills every process of the running call's group.
  void endGroup();

  QString program_;
  QString format_;
  QString error_;
  bool unsupported_ = false;
  bool cancelled_ = false;
  QProcess *process_ = nullptr;  // the running call's process, during run() only
  QEventLoop *loop_ = nullptr;
  qint64 group_ = 0;  // its process group (the converter's process id)
};
