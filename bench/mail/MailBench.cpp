// Times the mail engine against the tools a user would otherwise reach for:
//   1. base64-encoding a 10 MB file: TNMUUProcessor versus coreutils' base64;
//   2. sending a message with a 10 MB attachment to a local SMTP server: TNMSMTP versus
//      curl uploading the very same message bytes, while a 10 ms timer counts how often the
//      event loop got to run during the send.
// Each figure is the best of several runs.
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "MailErrors.h"
#include "MessageBuilder.h"
#include "NMSMTP.h"
#include "NMUUProcessor.h"

namespace {

constexpr int Runs = 5;
constexpr qsizetype FileSize = 10 * 1024 * 1024;

double BestOf(int runs, const std::function<void()> &work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer clock;
    clock.start();
    work();
    best = std::min(best, clock.nsecsElapsed() / 1e6);
  }
  return best;
}

void RunTool(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) {
    std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                 process.readAllStandardError().constData());
    std::exit(1);
  }
}

class TSink {
 public:
  explicit TSink(const QString &folder) {
    process_.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(SMTP_SINK_SCRIPT), folder, QStringLiteral("--raw-only")});
    if (!process_.waitForReadyRead(10000)) std::exit(1);
    port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
  }
  ~TSink() {
    process_.closeWriteChannel();
    process_.waitForFinished(5000);
  }
  quint16 Port() const { return port_; }

 private:
  QProcess process_;
  quint16 port_ = 0;
};

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir folder;
  QByteArray data(FileSize, Qt::Uninitialized);
  QRandomGenerator generator(8);
  generator.fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
  const QString file = folder.filePath(QStringLiteral("attachment.bin"));
  {
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(data);
  }

  // 1. Encoding.
  const double ours = BestOf(Runs, [&] {
    QFile input(file);
    input.open(QIODevice::ReadOnly);
    QBuffer output;
    output.open(QIODevice::ReadWrite);
    TNMUUProcessor encoder;
    encoder.InputStream = &input;
    encoder.OutputStream = &output;
    encoder.Encode();
  });
  const double coreutils = BestOf(Runs, [&] {
    RunTool(QStringLiteral("base64"), {QStringLiteral("-w"), QStringLiteral("60"), file});
  });
  std::printf("base64 of 10 MB      TNMUUProcessor %8.1f ms   base64 -w 60 %8.1f ms   ratio %.2f\n",
              ours, coreutils, ours / coreutils);

  // 2. Sending.
  TSink sink(folder.filePath(QString()));
  TPostMessage message;
  message.FromAddress = QStringLiteral("me@example.org");
  message.ToAddress = {QStringLiteral("you@example.org")};
  message.Subject = QStringLiteral("Benchmark");
  message.Body = {QStringLiteral("The file is attached.")};
  message.Attachments = {file};

  // The longest stretch without a tick is the longest the event loop was held up.
  QElapsedTimer sinceTick;
  double longestGapMs = 0;
  int ticks = 0;
  QTimer ticker;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    ++ticks;
    longestGapMs = std::max(longestGapMs, sinceTick.nsecsElapsed() / 1e6);
    sinceTick.restart();
  });
  ticks = 0;
  const double client = BestOf(Runs, [&] {
    TNMSMTP smtp;
    smtp.Host = QStringLiteral("127.0.0.1");
    smtp.Port = sink.Port();
    smtp.UserID = QStringLiteral("bench");
    smtp.PostMessage = message;
    sinceTick.start();
    ticker.start(10);
    smtp.Connect();
    smtp.SendMail();
    smtp.Disconnect();
    ticker.stop();
  });

  // curl sends the same message bytes: the header and body the client builds.
  TMessageBuilder builder;
  builder.Build(message);
  const QString eml = folder.filePath(QStringLiteral("message.eml"));
  {
    QFile out(eml);
    out.open(QIODevice::WriteOnly);
    out.write(builder.Header.join(QStringLiteral("\r\n")).toUtf8() + "\r\n\r\n\r\n" + builder.Body);
  }
  const double curl = BestOf(Runs, [&] {
    RunTool(QStringLiteral("curl"),
            {QStringLiteral("-s"), QStringLiteral("smtp://127.0.0.1:%1").arg(sink.Port()),
             QStringLiteral("--mail-from"), QStringLiteral("me@example.org"),
             QStringLiteral("--mail-rcpt"), QStringLiteral("you@example.org"),
             QStringLiteral("--upload-file"), eml});
  });
  std::printf("send 10 MB attached  TNMSMTP        %8.1f ms   curl         %8.1f ms   ratio %.2f\n",
              client, curl, client / curl);
  std::printf("event loop during %d sends: %d ticks of a 10 ms timer, longest gap %.1f ms\n", Runs,
              ticks, longestGapMs);
  return 0;
}
