// SPDX-License-Identifier: GPL-3.0-or-later
// Times the mail engine against the tools a user would otherwise reach for:
//   1. base64-encoding a 10 MB file: TNMUUProcessor versus coreutils' base64;
//   2. sending a message with a 10 MB attachment to a local SMTP server: TNMSMTP versus
//      curl uploading the very same message bytes, while a 10 ms timer counts how often the
//      event loop got to run during the send;
//   3. the same over STARTTLS with a login: TNMSMTP versus curl --ssl-reqd, the server's
//      certificate issued by an authority made here and trusted through SSL_CERT_FILE.
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

#include "mail/core/MailErrors.h"
#include "mail/core/MessageBuilder.h"
#include "mail/core/NMSMTP.h"
#include "mail/core/NMUUProcessor.h"

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

// A test authority and one server certificate for 127.0.0.1; returns the options that
// give them to the SMTP server.
QStringList MakeCertificates(const QString &folder) {
  auto run = [&](const QStringList &arguments) { RunTool(QStringLiteral("openssl"), arguments); };
  const QString ca = folder + QStringLiteral("/ca");
  const QString server = folder + QStringLiteral("/server");
  QFile ext(server + QStringLiteral(".ext"));
  ext.open(QIODevice::WriteOnly);
  ext.write("subjectAltName=IP:127.0.0.1\n");
  ext.close();
  const QStringList ec{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
  run(QStringList{"req", "-x509"} + ec +
      QStringList{"-keyout", ca + ".key", "-out", ca + ".pem", "-subj", "/CN=Bench CA", "-days",
                  "2"});
  run(QStringList{"req"} + ec +
      QStringList{"-keyout", server + ".key", "-out", server + ".csr", "-subj", "/CN=bench"});
  run({"x509", "-req", "-in", server + ".csr", "-CA", ca + ".pem", "-CAkey", ca + ".key",
       "-set_serial", "1", "-out", server + ".pem", "-days", "2", "-extfile", server + ".ext"});
  qputenv("SSL_CERT_FILE", (ca + ".pem").toLocal8Bit());
  return {"--cert",  server + ".pem",       "--key", server + ".key", "--starttls",
          "--login", "bench:bench-password"};
}

class TSink {
 public:
  TSink(const QString &folder, const QStringList &options = {}) {
    process_.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral("-B"), QStringLiteral(SMTP_SINK_SCRIPT), folder,
                               QStringLiteral("--raw-only")} +
                       options);
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

// One message sent by the client and by curl, best of Runs each, with the event loop's
// longest stall during the client's sends.
void SendBoth(const TSink &sink, const TPostMessage &message, TSmtpSecurity security,
              const QString &eml, const QStringList &curlOptions) {
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
  const double client = BestOf(Runs, [&] {
    TNMSMTP smtp;
    smtp.Host = QStringLiteral("127.0.0.1");
    smtp.Port = sink.Port();
    smtp.UserID = QStringLiteral("bench");
    smtp.Security = security;
    if (security != TSmtpSecurity::None) {
      smtp.LoginName = QStringLiteral("bench");
      smtp.Password = QStringLiteral("bench-password");
    }
    smtp.PostMessage = message;
    sinceTick.start();
    ticker.start(10);
    try {
      smtp.Connect();
      smtp.SendMail();
      smtp.Disconnect();
    } catch (const EMailError &error) {
      std::fprintf(stderr, "send failed: %s\n", error.what());
      std::exit(1);
    }
    ticker.stop();
  });
  const double curl = BestOf(Runs, [&] {
    RunTool(
        QStringLiteral("curl"),
        QStringList{QStringLiteral("-s"), QStringLiteral("smtp://127.0.0.1:%1").arg(sink.Port()),
                    QStringLiteral("--mail-from"), QStringLiteral("me@example.org"),
                    QStringLiteral("--mail-rcpt"), QStringLiteral("you@example.org"),
                    QStringLiteral("--upload-file"), eml} +
            curlOptions);
  });
  std::printf(
      "TNMSMTP %8.1f ms   curl %8.1f ms   ratio %.2f   event loop: %d ticks, longest gap %.1f ms\n",
      client, curl, client / curl, ticks, longestGapMs);
}

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

  // curl sends the same message bytes: the header and body the client builds.
  TMessageBuilder builder;
  builder.Build(message);
  const QString eml = folder.filePath(QStringLiteral("message.eml"));
  {
    QFile out(eml);
    out.open(QIODevice::WriteOnly);
    out.write(builder.Header.join(QStringLiteral("\r\n")).toUtf8() + "\r\n\r\n\r\n" + builder.Body);
  }
  std::printf("send 10 MB attached  ");
  SendBoth(sink, message, TSmtpSecurity::None, eml, {});
  TSink secure(folder.filePath(QString()), MakeCertificates(folder.path()));
  std::printf("same over STARTTLS   ");
  SendBoth(secure, message, TSmtpSecurity::StartTls, eml,
           {QStringLiteral("--ssl-reqd"), QStringLiteral("--cacert"),
            QString::fromLocal8Bit(qgetenv("SSL_CERT_FILE")), QStringLiteral("--user"),
            QStringLiteral("bench:bench-password")});
  return 0;
}
