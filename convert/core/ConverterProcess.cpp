// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/core/ConverterProcess.h"

#include <unistd.h>

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>

#include "convert/core/ConverterProtocol.h"

TConverterProcess::TConverterProcess(QString program, QString format)
    : program_(std::move(program)), format_(std::move(format)) {}

TConverterProcess::~TConverterProcess() { endGroup(); }

void TConverterProcess::endGroup() {
  if (group_ <= 0) return;
  // The group and, should the child not have made its group yet, the child itself.
  ::kill(pid_t(-group_), SIGKILL);
  ::kill(pid_t(group_), SIGKILL);
  group_ = 0;
}

void TConverterProcess::Cancel() {
  if (!process_) return;
  cancelled_ = true;
  endGroup();
  if (loop_) loop_->quit();
}

int TConverterProcess::run(const QStringList &call, const QByteArray &input, QByteArray *chunked) {
  error_.clear();
  unsupported_ = false;
  cancelled_ = false;
  const QString name = QFileInfo(program_).fileName();
  QProcess process;
  process.setProgram(program_);
  process.setArguments(QStringList{QStringLiteral("--format"), format_} + call);
  // Its scratch files and those of its tools go to a folder of this call, removed however
  // the call ends (a converter that is killed cannot clean up after itself).
  QTemporaryDir scratch;
  if (scratch.isValid()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), scratch.path());
    process.setProcessEnvironment(environment);
  }
  // A group of its own, so that the tool the converter starts ends with it.
  process.setChildProcessModifier([] { ::setpgid(0, 0); });
  QEventLoop loop;
  QTimer limit;
  limit.setSingleShot(true);
  bool timedOut = false;
  TChunkReader reader(SizeLimit);
  QByteArray stdoutBytes;
  QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError e) {
    if (e == QProcess::FailedToStart) loop.quit();
  });
  QObject::connect(&limit, &QTimer::timeout, &loop, [&] {
    timedOut = true;
    endGroup();
  });
  QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop, [&] {
    const QByteArray bytes = process.readAllStandardOutput();
    if (!chunked) {
      stdoutBytes += bytes.left(4096 - stdoutBytes.size());
      return;
    }
    const qsizetype before = reader.Total();
    if (reader.Feed(bytes, *chunked) == TChunkReader::TState::Failed) {
      endGroup();
    } else if (reader.Total() != before && OnProgress) {
      OnProgress(reader.Total());
    }
  });
  process.start();
  if (process.processId() > 0) {
    group_ = process.processId();
    ::setpgid(pid_t(group_), pid_t(group_));  // the parent's half of the usual race-free pair
  }
  limit.start(TimeLimitMs);
  process_ = &process;
  loop_ = &loop;
  if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart) {
    if (!input.isEmpty() || call.value(0) == QLatin1String("export")) {
      process.write(input);
      process.closeWriteChannel();
    }
    if (process.state() != QProcess::NotRunning && !cancelled_) loop.exec();
  }
  process_ = nullptr;
  loop_ = nullptr;
  limit.stop();
  // Whatever the converter left running ends with the call.
  endGroup();
  if (process.state() != QProcess::NotRunning) process.waitForFinished(10000);
  if (process.error() == QProcess::FailedToStart) {
    error_ = QStringLiteral("The converter %1 could not be started: %2")
                 .arg(program_, process.errorString());
    return -1;
  }
  if (cancelled_) {
    error_ = QStringLiteral("The conversion was cancelled");
    return -1;
  }
  if (timedOut) {
    error_ = QStringLiteral("The converter %1 did not finish within %2 seconds and was stopped")
                 .arg(name)
                 .arg(TimeLimitMs / 1000.0);
    return -1;
  }
  if (chunked && reader.State() == TChunkReader::TState::Failed) {
    error_ = QStringLiteral("The converter %1 failed: %2").arg(name, reader.Error());
    return -1;
  }
  if (process.exitStatus() == QProcess::CrashExit) {
    error_ = QStringLiteral("The converter %1 stopped unexpectedly").arg(name);
    return -1;
  }
  if (chunked && process.exitCode() == 0 && reader.State() != TChunkReader::TState::Done) {
    error_ = QStringLiteral("The converter %1 ended before the document was complete").arg(name);
    return -1;
  }
  if (!chunked) stdoutBytes += process.readAllStandardOutput().left(4096);
  if (process.exitCode() == 3) {
    unsupported_ = true;
    error_ = QStringLiteral("The converter %1 does not offer this conversion").arg(name);
    return -1;
  }
  if (process.exitCode() > 1 || (chunked && process.exitCode() != 0)) {
    QString reason = QString::fromUtf8(process.readAllStandardError()).trimmed().section(u'\n', -1);
    if (reason.isEmpty()) reason = QString::fromUtf8(stdoutBytes).trimmed().section(u'\n', -1);
    error_ =
        QStringLiteral("The converter %1 failed: %2")
            .arg(name, reason.isEmpty() ? QStringLiteral("exit status %1").arg(process.exitCode())
                                        : reason);
    return -1;
  }
  return process.exitCode();
}

bool TConverterProcess::Ready() { return run({QStringLiteral("ready")}, {}, nullptr) == 0; }

bool TConverterProcess::IsFormatCorrect(const QString &file) {
  return run({QStringLiteral("check"), file}, {}, nullptr) == 0;
}

bool TConverterProcess::ForeignToRtf(const QString &file, QByteArray &rtf) {
  rtf.clear();
  if (run({QStringLiteral("import"), file}, {}, &rtf) == 0) return true;
  rtf.clear();
  return false;
}

bool TConverterProcess::RtfToForeign(const QString &file, const QByteArray &text) {
  QByteArray answer;
  const QByteArray input = ConverterProtocol::Chunks(text) + ConverterProtocol::End();
  if (OnProgress) OnProgress(text.size());
  return run({QStringLiteral("export"), file}, input, &answer) == 0;
}
