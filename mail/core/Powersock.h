// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/socket.h>

#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "mail/core/LineBuffer.h"
#include "mail/core/ThreadTimer.h"
#include "mail/core/Transport.h"
#include "platform/core/NestedWait.h"

class QEventLoop;
class QHostAddress;
class QHostInfo;
class QSocketNotifier;

// One TCP client connection for a line-oriented mail protocol. Every operation looks
// synchronous to its caller (it returns when done or throws), yet none blocks the event
// loop: the socket is non-blocking, its readiness arrives through socket notifiers, and a
// waiting operation runs a nested event loop until the state it waits for is reached.
//
// Errors: ESockError for socket-level failures, EAbortError when a cancel ends an
// operation, EMailError for the rest (see MailErrors.h).
class TPowersock : public QObject {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void()>;
  using THandlerEvent = std::function<void(bool &handled)>;

  // Limits that keep a broken or hostile server from holding the client forever.
  static constexpr int MaxHostLength = 127;
  static constexpr qsizetype MaxLineLength = qsizetype{1024} * 1024;
  static constexpr int ChunkSize = 16383;

  explicit TPowersock(QObject *parent = nullptr);
  ~TPowersock() override;

  // Settings.
  QString Host;
  int Port = 0;
  // Time limit in milliseconds for host lookup and connecting; 0 means DefaultTimeOut.
  int TimeOut = 0;
  // The limit used when TimeOut is 0: an unanswered connect attempt always ends.
  int DefaultTimeOut = 30000;
  // Status texts whose level is at most this value are reported through OnStatus.
  int ReportLevel = 1;
  // When not empty, host name or address used instead of Host, with ProxyPort.
  QString Proxy;
  quint16 ProxyPort = 0;
  // Longest silence in milliseconds of a server that owes a reply line or stopped taking
  // the data being sent; 0 means no limit.
  int ReplyTimeOut = 60000;

  // Events.
  TNotifyEvent OnConnect;
  TNotifyEvent OnDisconnect;
  THandlerEvent OnInvalidHost;
  TNotifyEvent OnHostResolved;
  std::function<void(const QString &status)> OnStatus;
  TNotifyEvent OnConnectionFailed;
  THandlerEvent OnConnectionRequired;
  // A chunk of a stream (SendStream) was handed to the system: sent bytes of the stream so
  // far and the stream's total size. A progress bar reads sent / total.
  std::function<void(qint64 sent, qint64 total)> OnPacketSent;
  std::function<void(quint16 errorNo, const QString &message)> OnError;
  // Called when data arrives while the cancel flag is set.
  TNotifyEvent CancelHook;

  // State.
  const QString &Status() const { return status_; }
  int LastErrorNo() const { return lastErrorNo_; }
  qint16 ReplyNumber() const { return replyNumber_; }
  const QByteArray &LastLine() const { return lastLine_; }
  bool Connected() const { return Open(); }
  bool BeenCanceled() const { return canceled_; }
  bool TimedOut() const { return outcome_ == TWaitOutcome::TimedOut; }
  qint64 BytesSent() const { return bytesSent_; }
  qint64 BytesTotal() const { return bytesTotal_; }
  // True while the object holds a socket ready for the next Connect or connected.
  bool HasSocket() const { return fd_ >= 0; }
  // True while the connection runs over TLS.
  bool Secure() const { return transport_ && transport_->Secure(); }
  // Number of live objects in the process.
  static int LiveCount();

  virtual void Connect();
  virtual void Disconnect();
  // Writeln(command), then ReadLn; sets LastLine and ReplyNumber.
  virtual QByteArray Transaction(const QByteArray &command);
  // Hook for the time limit and destruction; does nothing here.
  virtual void Abort();

  void Cancel();
  QByteArray ReadLn();
  void Write(QByteArrayView text);
  void Writeln(QByteArrayView text);
  // Sends bytes and returns when all of them are handed to the system.
  void SendBuffer(QByteArrayView bytes);
  // A length of 0 means up to the first NUL byte.
  void SendBuffer(const char *bytes, qsizetype length);
  void SendStream(QIODevice &stream);
  void CertifyConnect();
  void StatusMessage(int level, const QString &text);
  QString ErrorManager(int tolerated);

  // The number made of a reply line's leading digits (at most 10); 0 when there are none or
  // they exceed 32 bits. A value outside 16 bits throws "Range check error".
  static qint16 ParseReplyNumber(QByteArrayView line);

 protected:
  // The socket connection is established; calls OnConnect.
  virtual void SocketConnected();
  void RequestCloseSocket();
  void ClearReceiveBuffer() { receive_.Clear(); }
  // A complete line waits in the receive buffer (ReadLn returns it even after a close).
  bool LineWaiting() const { return receive_.HasLine(); }
  // Starts TLS on the open connection and returns when the handshake is done; the server's
  // certificate must be valid for host. Anything received before is discarded. Throws
  // ESockError naming the host and the reason, after closing the connection, when the
  // handshake fails: there is no going on in clear text.
  void StartTls(const QString &host);
  void ClearCancel() { canceled_ = false; }
  // Takes a reply line as Transaction does: sets LastLine and ReplyNumber.
  void TakeReply(const QByteArray &line);
  // False once the object is destroyed; code that ran a wait checks it before touching
  // the object again.
  std::shared_ptr<bool> AliveToken() const { return alive_; }
  // Runs the event loop until done() holds. Throws EAbortError when the object is destroyed
  // meanwhile (the caller then must not touch the object); a quitting program sets the
  // cancel flag and ends the wait.
  void WaitUntil(const std::function<bool()> &done);

 private:
  // Runs a clean-up step when leaving a scope, unless the object was destroyed meanwhile.
  class TCleanup {
   public:
    TCleanup(std::shared_ptr<bool> alive, std::function<void()> step)
        : alive_(std::move(alive)), step_(std::move(step)) {}
    ~TCleanup() {
      if (*alive_) step_();
    }
    TCleanup(const TCleanup &) = delete;
    TCleanup &operator=(const TCleanup &) = delete;

   private:
    std::shared_ptr<bool> alive_;
    std::function<void()> step_;
  };

  // Where the connection stands. Handshaking counts as connected (a TLS handshake runs on an
  // open connection); Destroyed once the destructor has begun.
  enum class TSocketState : quint8 {
    Unconnected,
    Resolving,
    Connecting,
    Handshaking,
    Connected,
    Destroyed
  };
  // How the operation waiting now has ended: its goal reached, an error, the time limit of
  // lookup and connect, or the silence limit of a reply or a send.
  enum class TWaitOutcome : quint8 { Waiting, Done, Failed, TimedOut, Silent };

  bool CreateSocket(bool linger, int family = 0);
  void ReplaceSocket();
  void CloseDescriptor();
  bool ResolveHost();
  void LookupDone(const QHostInfo &info);
  void SocketWritable();
  void ReadToStream();
  void WriteFromStream();
  void PeerClosed();
  // Runs step from the event loop, soon.
  void PostQueued(void (TPowersock::*step)());
  void RunFromEventLoop(void (TPowersock::*step)()) noexcept;
  void PostWrite();
  void PostRead();
  void SendPending();
  void DiscardSend();
  void ResumeReading();
  void TimerOn();
  void TimerOff();
  void TimerExpired();
  void StartSilenceTimer();
  void Wake();
  // Starts a wait for an outcome; EndWait sets it (the first one counts) and wakes the wait.
  void BeginWait();
  void EndWait(TWaitOutcome outcome);
  bool Open() const {
    return state_ == TSocketState::Connected || state_ == TSocketState::Handshaking;
  }
  // A Connect call is looking up the host or waiting for the connection.
  bool ConnectRunning() const {
    return state_ == TSocketState::Resolving || state_ == TSocketState::Connecting;
  }
  void SetPlatformError(int posixError);
  void HandshakeStep();
  // Sets the address to connect to; false for an address that names no host.
  bool UseAddress(const QHostAddress &address);
  void ReadReady();
  void WriteReady();
  // Moves what the transport holds into the receive buffer, up to its bound.
  void DrainReceive();

  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> readNotifier_;
  std::unique_ptr<QSocketNotifier> writeNotifier_;
  int family_ = 0;
  std::unique_ptr<TTransport> transport_;
  TTlsTransport *tls_ = nullptr;  // the TLS transport while its handshake runs
  TTransport::TResult handshake_;
  // The address to connect to (IPv4 or IPv6); length 0 = none known.
  sockaddr_storage remote_{};
  socklen_t remoteLength_ = 0;

  QString status_;
  int lastErrorNo_ = 0;
  int platformError_ = 0;
  qint16 replyNumber_ = 0;
  QByteArray lastLine_;
  bool canceled_ = false;
  int lookupId_ = -1;
  // The error number that ended the last send (0: none).
  int sendError_ = 0;
  bool readBusy_ = false;
  bool writeBusy_ = false;
  bool writeAgain_ = false;
  bool streamMode_ = false;
  // OnDisconnect is still owed for the current socket (once per connection).
  bool disconnectOwed_ = true;
  TSocketState state_ = TSocketState::Unconnected;
  TWaitOutcome outcome_ = TWaitOutcome::Waiting;
  qint64 bytesSent_ = 0;
  qint64 bytesTotal_ = 0;

  TLineBuffer receive_{MaxLineLength};
  QByteArray send_;
  qsizetype sendOffset_ = 0;

  TThreadTimer timer_;
  QTimer silenceTimer_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  TNestedWait wait_{this};
};
