// SPDX-License-Identifier: GPL-3.0-or-later
#include "MailTestServers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "TestEnvironment.h"

TTestAuthority::TTestAuthority() : folder_(TestEnvironment::FreshDir("authority")) {
  hadPrevious_ = qEnvironmentVariableIsSet("SSL_CERT_FILE");
  previous_ = qgetenv("SSL_CERT_FILE");
  const bool made =
      Run({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
           "-keyout", folder_ + "/ca.key", "-out", folder_ + "/ca.pem", "-subj",
           "/CN=Vellumix Test Authority", "-days", "30"});
  if (!made) ADD_FAILURE() << "openssl could not make the test authority";
  qputenv("SSL_CERT_FILE", (folder_ + "/ca.pem").toLocal8Bit());
}

TTestAuthority::~TTestAuthority() {
  if (hadPrevious_)
    qputenv("SSL_CERT_FILE", previous_);
  else
    qunsetenv("SSL_CERT_FILE");
}

bool TTestAuthority::Run(const QStringList &arguments) {
  QProcess openssl;
  openssl.setProcessChannelMode(QProcess::MergedChannels);
  openssl.start(QStringLiteral("openssl"), arguments);
  if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) {
    ADD_FAILURE() << "openssl " << arguments.join(u' ').toStdString() << ": "
                  << openssl.readAll().toStdString();
    return false;
  }
  return true;
}

TTestAuthority::TCertificate TTestAuthority::Issue(const QString &altName, int days) {
  const QString base = folder_ + QStringLiteral("/server-%1").arg(++serial_);
  QFile extensions(base + QStringLiteral(".ext"));
  if (!extensions.open(QIODevice::WriteOnly))
    ADD_FAILURE() << "cannot write " << base.toStdString();
  extensions.write("subjectAltName=" + altName.toLatin1() + "\n");
  extensions.close();
  Run({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-keyout",
       base + ".key", "-out", base + ".csr", "-subj", "/CN=Vellumix test server"});
  Run({"x509", "-req", "-in", base + ".csr", "-CA", folder_ + "/ca.pem", "-CAkey",
       folder_ + "/ca.key", "-set_serial", QString::number(serial_), "-out", base + ".pem", "-days",
       QString::number(days), "-extfile", base + ".ext"});
  return {base + QStringLiteral(".pem"), base + QStringLiteral(".key")};
}

QStringList TSmtpSink::Secured(const TTestAuthority::TCertificate &certificate, const QString &mode,
                               const QString &login) {
  QStringList options{QStringLiteral("--cert"), certificate.Cert, QStringLiteral("--key"),
                      certificate.Key, mode};
  if (!login.isEmpty()) options << QStringLiteral("--login") << login;
  return options;
}

TSmtpSink::TSmtpSink(const QStringList &reject, const QStringList &options)
    : folder_(TestEnvironment::FreshDir("smtp")) {
  // -B: no byte-code cache written into the source tree.
  QStringList arguments{QStringLiteral("-B"), QStringLiteral(MAIL_TEST_DIR "/smtp_sink.py"),
                        folder_};
  for (const QString &address : reject) arguments << QStringLiteral("--reject") << address;
  arguments << options;
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process_.start(QStringLiteral("/usr/bin/python3"), arguments);
  if (!process_.waitForStarted(10000) || !process_.waitForReadyRead(10000)) {
    ADD_FAILURE() << "the SMTP test server did not start";
    return;
  }
  port_ = static_cast<quint16>(process_.readLine().trimmed().toUInt());
  if (port_ == 0) ADD_FAILURE() << "the SMTP test server gave no port";
}

TSmtpSink::~TSmtpSink() {
  process_.closeWriteChannel();
  if (!process_.waitForFinished(3000)) {
    process_.kill();
    process_.waitForFinished(3000);
  }
}

int TSmtpSink::Count() const {
  return static_cast<int>(QDir(folder_).entryList({QStringLiteral("*.eml")}).size());
}

QByteArray TSmtpSink::Raw(int n) const {
  return TestEnvironment::ReadFile(folder_ + QStringLiteral("/msg-%1.eml").arg(n));
}

QJsonObject TSmtpSink::Record(int n) const {
  return QJsonDocument::fromJson(
             TestEnvironment::ReadFile(folder_ + QStringLiteral("/msg-%1.json").arg(n)))
      .object();
}

TScriptedServer::TScriptedServer() : server_(new QTcpServer(this)) {
  server_->listen(QHostAddress::LocalHost, 0);
  connect(server_, &QTcpServer::newConnection, this, &TScriptedServer::Accept);
}

TScriptedServer::~TScriptedServer() = default;

quint16 TScriptedServer::Port() const { return server_->serverPort(); }

TScriptedServer &TScriptedServer::Send(const QByteArray &bytes) {
  steps_.append(TStep{TStep::Send, bytes, 0});
  return *this;
}

TScriptedServer &TScriptedServer::Receive(int count) {
  steps_.append(TStep{TStep::Receive, {}, count});
  return *this;
}

TScriptedServer &TScriptedServer::Reply(const QByteArray &reply) { return Receive().Send(reply); }

TScriptedServer &TScriptedServer::Pause(int milliseconds) {
  steps_.append(TStep{TStep::Pause, {}, milliseconds});
  return *this;
}

TScriptedServer &TScriptedServer::Close() {
  steps_.append(TStep{TStep::Close, {}, 0});
  return *this;
}

void TScriptedServer::Accept() {
  QTcpSocket *next = server_->nextPendingConnection();
  if (socket_) {  // one conversation per server
    next->abort();
    next->deleteLater();
    return;
  }
  socket_ = next;
  socket_->setParent(this);
  connect(socket_, &QTcpSocket::readyRead, this, &TScriptedServer::ReadLines);
  connect(socket_, &QTcpSocket::disconnected, this, [this] {
    ReadLines();  // what came before the end is kept first
    ended_ = true;
  });
  Run();
}

void TScriptedServer::ReadLines() {
  const QByteArray bytes = socket_->readAll();
  received_.append(bytes);
  partial_.append(bytes);
  qsizetype end;
  while ((end = partial_.indexOf('\n')) >= 0) {
    lines_.append(partial_.left(end + 1));
    partial_.remove(0, end + 1);
    ++linesReady_;
  }
  Run();
}

void TScriptedServer::Run() {
  while (!paused_ && socket_ && step_ < steps_.size()) {
    TStep &step = steps_[step_];
    switch (step.kind) {
      case TStep::Send:
        socket_->write(step.bytes);
        socket_->flush();
        break;
      case TStep::Receive:
        if (linesReady_ < step.value) return;
        linesReady_ -= step.value;
        break;
      case TStep::Pause:
        paused_ = true;
        ++step_;
        QTimer::singleShot(step.value, this, [this] {
          paused_ = false;
          Run();
        });
        return;
      case TStep::Close:
        socket_->flush();
        socket_->disconnectFromHost();
        break;
    }
    ++step_;
  }
}
