// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// A certificate authority made for one test with openssl, trusted through SSL_CERT_FILE
// (and nowhere else) while the object lives.
class TTestAuthority {
 public:
  TTestAuthority();
  ~TTestAuthority();

  struct TCertificate {
    QString Cert;
    QString Key;
  };
  // A server certificate signed by the authority for the subject alternative name given
  // ("IP:127.0.0.1", "DNS:other.example"); days below 0 give one that has expired.
  TCertificate Issue(const QString &altName, int days = 30);

 private:
  bool Run(const QStringList &arguments);

  QString folder_;
  QByteArray previous_;
  bool hadPrevious_ = false;
  int serial_ = 0;
};

// A real SMTP server (Python's aiosmtpd) on 127.0.0.1 and a free port, storing every
// accepted message in a fresh folder. Recipients listed in reject are refused with 550.
// options go to the server as they are: --cert/--key, --starttls, --implicit-tls,
// --login USER:PASSWORD (see smtp_sink.py).
class TSmtpSink {
 public:
  explicit TSmtpSink(const QStringList &reject = {}, const QStringList &options = {});
  // The options for a server with certificate.
  static QStringList Secured(const TTestAuthority::TCertificate &certificate, const QString &mode,
                             const QString &login);
  ~TSmtpSink();

  quint16 Port() const { return port_; }
  int Count() const;
  // The bytes of message n (from 1) as received after DATA, dot-stuffing removed.
  QByteArray Raw(int n) const;
  // Envelope and parsed message: helo, mail_from, rcpt_tos, headers, parts.
  QJsonObject Record(int n) const;

 private:
  QString folder_;
  QProcess process_;
  quint16 port_ = 0;
};

// A TCP peer that plays a script on the first connection it accepts: send bytes, wait for
// lines from the client, pause, close. Everything the client sends is kept line by line.
// It runs on the test's thread: the client's waits keep its events flowing.
class TScriptedServer : public QObject {
  Q_OBJECT

 public:
  TScriptedServer();
  ~TScriptedServer() override;

  TScriptedServer &Send(const QByteArray &bytes);
  // Waits for count more complete lines from the client.
  TScriptedServer &Receive(int count = 1);
  // Receive one line, then send the reply.
  TScriptedServer &Reply(const QByteArray &reply);
  TScriptedServer &Pause(int milliseconds);
  TScriptedServer &Close();

  quint16 Port() const;
  const QList<QByteArray> &Lines() const { return lines_; }
  // Every byte received, in order.
  const QByteArray &Received() const { return received_; }
  bool Finished() const { return step_ >= steps_.size(); }
  // The connection has ended, closed by either side (all the client sent is in Lines() then).
  bool Ended() const { return ended_; }

 private:
  struct TStep {
    enum Kind { Send, Receive, Pause, Close } kind;
    QByteArray bytes;
    int value = 0;
  };
  void Accept();
  void ReadLines();
  void Run();

  QTcpServer *server_;
  QTcpSocket *socket_ = nullptr;
  QList<TStep> steps_;
  qsizetype step_ = 0;
  int linesReady_ = 0;
  bool paused_ = false;
  bool ended_ = false;
  QByteArray partial_;
  QList<QByteArray> lines_;
  QByteArray received_;
};
