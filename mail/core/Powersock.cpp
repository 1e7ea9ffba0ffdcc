// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/Powersock.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QBuffer>
#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "mail/core/MailErrors.h"
#include "mail/core/SocketErrors.h"
#include "platform/core/NestedWait.h"

namespace {

int liveCount = 0;

const QString ClosedByServer = QStringLiteral("The server closed the connection");
const QString ReplyTimedOut = QStringLiteral("The server did not reply in time");
const QString SendStalled = QStringLiteral("The server stopped accepting data");
const QString LineTooLong = QStringLiteral("The server sent a line longer than 1 MB");
const QString HostTooLong = QStringLiteral("Host name longer than 127 characters");
const QString Destroyed = QStringLiteral("Socket destroyed");

bool IsTemporary(int posixError) {
  return posixError == EAGAIN || posixError == EWOULDBLOCK || posixError == EINTR;
}

// Errors by which the network itself refuses a connect; they end the connect like a failed
// completion instead of as an immediate socket error.
bool IsConnectRefusal(int posixError) {
  return posixError == ECONNREFUSED || posixError == ENETUNREACH || posixError == EHOSTUNREACH ||
         posixError == ETIMEDOUT;
}

}  // namespace

TPowersock::TPowersock(QObject *parent) : QObject(parent) {
  StatusMessage(8, QStringLiteral("Create"));
  timer_.SetEnabled(false);
  timer_.SetOnTimer([this] { TimerExpired(); });
  silenceTimer_.setSingleShot(true);
  connect(&silenceTimer_, &QTimer::timeout, this, [this] { EndWait(TWaitOutcome::Silent); });
  StatusMessage(8, QStringLiteral("Initializing Winsock"));
  ++liveCount;
  if (!CreateSocket(true)) {
    --liveCount;
    throw ESockError(QStringLiteral("Initializaton of windows sockets failed"));
  }
}

TPowersock::~TPowersock() {
  StatusMessage(8, QStringLiteral("Destroy"));
  TPowersock::Abort();
  Cancel();
  timer_.SetEnabled(false);
  silenceTimer_.stop();
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
  state_ = TSocketState::Destroyed;
  *alive_ = false;
  readNotifier_.reset();
  writeNotifier_.reset();
  if (fd_ >= 0) ::close(fd_);
  --liveCount;
}

int TPowersock::LiveCount() { return liveCount; }

void TPowersock::StatusMessage(int level, const QString &text) {
  status_ = text;
  if (state_ != TSocketState::Destroyed && ReportLevel >= level && OnStatus) OnStatus(text);
}

void TPowersock::SetPlatformError(int posixError) {
  platformError_ = SocketErrors::FromErrno(posixError);
}

QString TPowersock::ErrorManager(int tolerated) {
  StatusMessage(16, QStringLiteral("Checking Error In Error Manager"));
  lastErrorNo_ = platformError_;
  if (lastErrorNo_ == tolerated) return {};
  StatusMessage(8, QStringLiteral("Looking Up Error Message"));
  const QString message = SocketErrors::Message(lastErrorNo_);
  if (OnError) OnError(static_cast<quint16>(lastErrorNo_), message);
  throw ESockError(message);
}

// ---- socket handle -----------------------------------------------------------------------

bool TPowersock::CreateSocket(bool linger, int family) {
  if (family == 0) family = family_ == 0 ? AF_INET : family_;
  fd_ = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd_ < 0) {
    SetPlatformError(errno);
    return false;
  }
  family_ = family;
  transport_ = std::make_unique<TPlainTransport>(fd_);
  tls_ = nullptr;
  if (linger) {
    // Closing resets the connection at once instead of lingering over unsent data.
    const ::linger option{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &option, sizeof option);
  }
  // The notifiers stay off until there is something to wait for: an idle or unconnected
  // socket would otherwise report readiness without end.
  readNotifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  readNotifier_->setEnabled(false);
  connect(readNotifier_.get(), &QSocketNotifier::activated, this,
          [this] { RunFromEventLoop(&TPowersock::ReadReady); });
  writeNotifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Write);
  writeNotifier_->setEnabled(false);
  connect(writeNotifier_.get(), &QSocketNotifier::activated, this,
          [this] { RunFromEventLoop(&TPowersock::WriteReady); });
  return true;
}

void TPowersock::CloseDescriptor() {
  // The close may come from inside a notifier's own signal (a peer close seen while
  // reading): switch the notifiers off now and let the event loop delete them.
  for (auto *notifier : {&readNotifier_, &writeNotifier_}) {
    if (!*notifier) continue;
    (*notifier)->setEnabled(false);
    notifier->release()->deleteLater();
  }
  const int fd = fd_;
  fd_ = -1;
  tls_ = nullptr;
  transport_.reset();
  if (fd >= 0 && ::close(fd) != 0) {
    SetPlatformError(errno);
    ErrorManager(SocketErrors::WouldBlock);
  }
}

// A socket whose connect failed cannot be connected again: it is exchanged for a fresh one.
void TPowersock::ReplaceSocket() {
  // A Connect that runs keeps its state until it ends.
  if (Open()) state_ = TSocketState::Unconnected;
  try {
    CloseDescriptor();
  } catch (const ESockError &error) {
    // The old descriptor is gone whatever close said; the fresh socket is what counts.
    StatusMessage(4, QStringLiteral("Closing the old socket: ") + error.Message());
  }
  CreateSocket(false);
}

void TPowersock::RequestCloseSocket() {
  StatusMessage(4, QStringLiteral("Request Close Socket"));
  if (Open()) state_ = TSocketState::Unconnected;
  DiscardSend();
  Wake();
  // A close during Connect (lookup or connect wait) ends that wait as a cancel does.
  if (ConnectRunning()) canceled_ = true;
  CloseDescriptor();
  if (state_ == TSocketState::Destroyed) return;
  CreateSocket(false);
  if (!disconnectOwed_) return;
  disconnectOwed_ = false;
  if (OnDisconnect) OnDisconnect();
}

// ---- waiting -----------------------------------------------------------------------------

void TPowersock::WaitUntil(const std::function<bool()> &done) {
  const std::shared_ptr<bool> alive = alive_;
  switch (wait_.Until([&] { return !*alive || done(); })) {
    case TNestedWait::TEnd::Done:
    case TNestedWait::TEnd::Canceled:
      break;
    case TNestedWait::TEnd::ObjectGone:
      throw EAbortError(Destroyed);
    case TNestedWait::TEnd::Quit:
      // The program is quitting: every wait of this object ends as a cancel does.
      StatusMessage(8, QStringLiteral("Application quitting"));
      canceled_ = true;
      break;
  }
  if (!*alive) throw EAbortError(Destroyed);
}

void TPowersock::Wake() { wait_.Wake(); }

void TPowersock::BeginWait() { outcome_ = TWaitOutcome::Waiting; }

// The first outcome of a wait counts: a late timer cannot turn a finished wait into a failure.
void TPowersock::EndWait(TWaitOutcome outcome) {
  if (outcome_ == TWaitOutcome::Waiting) outcome_ = outcome;
  Wake();
}

void TPowersock::Cancel() {
  StatusMessage(8, QStringLiteral("Canceling"));
  canceled_ = true;
  Wake();
}

void TPowersock::Abort() {}

void TPowersock::TimerOn() {
  StatusMessage(8, QStringLiteral("Timer On"));
  const int limit = TimeOut > 0 ? TimeOut : DefaultTimeOut;
  timer_.SetInterval(static_cast<unsigned>(std::max(limit, 0)));
  timer_.SetEnabled(true);
}

void TPowersock::TimerOff() {
  StatusMessage(8, QStringLiteral("Timer Off"));
  timer_.SetEnabled(false);
}

void TPowersock::TimerExpired() {
  StatusMessage(8, QStringLiteral("Timer Triggered"));
  TimerOff();
  EndWait(TWaitOutcome::TimedOut);
  Abort();
}

void TPowersock::StartSilenceTimer() {
  if (ReplyTimeOut > 0)
    silenceTimer_.start(ReplyTimeOut);
  else
    silenceTimer_.stop();
}

// ---- connecting --------------------------------------------------------------------------

bool TPowersock::ResolveHost() {
  StatusMessage(8, QStringLiteral("Resolve Host"));
  const QString name = Proxy.isEmpty() ? Host : Proxy;
  if (name.size() > MaxHostLength) throw ESockError(HostTooLong);
  remoteLength_ = 0;
  QString literal = name.trimmed();
  if (literal.startsWith(u'[') && literal.endsWith(u']'))
    literal = literal.mid(1, literal.size() - 2);
  const QHostAddress parsed(literal);
  if (!parsed.isNull()) return UseAddress(parsed);
  if (literal.isEmpty()) return false;

  BeginWait();
  TimerOn();
  lookupId_ =
      QHostInfo::lookupHost(name, this, [this](const QHostInfo &info) { LookupDone(info); });
  WaitUntil([this] { return outcome_ != TWaitOutcome::Waiting || canceled_; });
  TimerOff();
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
  lookupId_ = -1;
  if (outcome_ == TWaitOutcome::TimedOut) throw ESockError(QStringLiteral("Host Lookup Timed Out"));
  if (canceled_) throw ESockError(QStringLiteral("Host Lookup Canceled"));
  if (outcome_ != TWaitOutcome::Done || remoteLength_ == 0) return false;
  if (OnHostResolved) OnHostResolved();
  return true;
}

void TPowersock::LookupDone(const QHostInfo &info) {
  lookupId_ = -1;
  const bool found = info.error() == QHostInfo::NoError;
  if (!found) {
    platformError_ = info.error() == QHostInfo::HostNotFound ? SocketErrors::HostNotFound
                                                             : SocketErrors::NoRecovery;
  }
  // The first IPv4 address, else the first IPv6 one.
  const QList<QHostAddress> addresses = info.addresses();
  bool usable = false;
  for (const QHostAddress &address : addresses) {
    if (address.protocol() == QAbstractSocket::IPv4Protocol && UseAddress(address)) {
      usable = true;
      break;
    }
  }
  for (qsizetype i = 0; !usable && i < addresses.size(); ++i) usable = UseAddress(addresses[i]);
  EndWait(found ? TWaitOutcome::Done : TWaitOutcome::Failed);
}

void TPowersock::Connect() {
  StatusMessage(8, QStringLiteral("Connecting"));
  // A Connect started from an event handled during another one's wait would take over its
  // socket: it meets the same refusal as one on an established connection.
  if (Open() || ConnectRunning()) throw ESockError(QStringLiteral("Already connected"));
  canceled_ = false;
  lastErrorNo_ = 0;
  state_ = TSocketState::Resolving;
  const TCleanup endConnect(alive_, [this] {
    if (ConnectRunning()) state_ = TSocketState::Unconnected;
  });

  bool retried = false;
  while (!ResolveHost()) {
    if (!retried && OnInvalidHost) {
      retried = true;
      bool handled = false;
      OnInvalidHost(handled);
      if (handled) continue;
    }
    throw ESockError(QStringLiteral("Null Remote Address"));
  }

  const int family = remote_.ss_family;
  if (fd_ >= 0 && family_ != family) {
    // The socket was made for the other address family: exchange it.
    family_ = family;
    ReplaceSocket();
  }
  if (fd_ < 0 && !CreateSocket(false, family)) ErrorManager(SocketErrors::WouldBlock);
  const auto port = htons(static_cast<quint16>(Proxy.isEmpty() ? Port : ProxyPort));
  if (family == AF_INET6)
    reinterpret_cast<sockaddr_in6 *>(&remote_)->sin6_port = port;
  else
    reinterpret_cast<sockaddr_in *>(&remote_)->sin_port = port;
  BeginWait();
  receive_.Clear();
  const int result = ::connect(fd_, reinterpret_cast<const sockaddr *>(&remote_), remoteLength_);
  const int error = result == 0 ? 0 : errno;
  if (result == 0) {
    state_ = TSocketState::Connected;
    disconnectOwed_ = true;
    readNotifier_->setEnabled(true);
    SocketConnected();
  } else if (error == EINPROGRESS || IsTemporary(error)) {
    state_ = TSocketState::Connecting;
    writeNotifier_->setEnabled(true);
  } else if (IsConnectRefusal(error)) {
    SetPlatformError(error);
    lastErrorNo_ = platformError_;
    EndWait(TWaitOutcome::Failed);
  } else {
    SetPlatformError(error);
    // A fresh descriptor for the next attempt when the error goes on to the caller.
    auto replace = qScopeGuard([this] { ReplaceSocket(); });
    ErrorManager(SocketErrors::WouldBlock);
    replace.dismiss();
  }

  TimerOn();
  WaitUntil([this] { return Open() || outcome_ != TWaitOutcome::Waiting || canceled_; });
  TimerOff();
  if (Open() && outcome_ == TWaitOutcome::Waiting && !canceled_) return;

  if (Open()) state_ = TSocketState::Connecting;  // connected too late: this Connect failed
  ReplaceSocket();
  if (OnConnectionFailed) OnConnectionFailed();
  if (outcome_ == TWaitOutcome::TimedOut) throw ESockError(QStringLiteral("Connection Timed out"));
  if (canceled_) throw ESockError(QStringLiteral("Connection Canceled"));
  throw ESockError(QStringLiteral("Connection Failed"));
}

void TPowersock::SocketConnected() {
  if (OnConnect) OnConnect();
}

void TPowersock::ReadReady() {
  if (state_ == TSocketState::Handshaking) {
    HandshakeStep();
    return;
  }
  ReadToStream();
}

void TPowersock::WriteReady() {
  if (state_ == TSocketState::Handshaking) {
    HandshakeStep();
    return;
  }
  SocketWritable();
}

void TPowersock::HandshakeStep() {
  if (state_ != TSocketState::Handshaking || !tls_) return;
  handshake_ = tls_->Handshake();
  readNotifier_->setEnabled(handshake_.Kind == TTransport::TResult::WantRead);
  writeNotifier_->setEnabled(handshake_.Kind == TTransport::TResult::WantWrite);
  if (handshake_.Kind == TTransport::TResult::Data || handshake_.Kind == TTransport::TResult::Error)
    state_ = TSocketState::Connected;
  Wake();
}

void TPowersock::StartTls(const QString &host) {
  StatusMessage(8, QStringLiteral("Starting TLS"));
  if (!Open() || fd_ < 0) throw ESockError(SocketErrors::Message(10057));
  // Bytes that came before the handshake were not protected: none of them may count.
  receive_.Clear();
  auto tls = std::make_unique<TTlsTransport>(fd_, host);
  tls_ = tls.get();
  transport_ = std::move(tls);
  state_ = TSocketState::Handshaking;
  handshake_ = {TTransport::TResult::WantWrite, 0, 0};
  PostQueued(&TPowersock::HandshakeStep);
  BeginWait();
  StartSilenceTimer();
  WaitUntil([this] {
    return state_ != TSocketState::Handshaking || canceled_ || outcome_ == TWaitOutcome::Silent;
  });
  silenceTimer_.stop();
  if (state_ == TSocketState::Connected && handshake_.Kind == TTransport::TResult::Data) {
    tls_ = nullptr;
    readNotifier_->setEnabled(true);
    // The handshake may have brought application data along.
    if (transport_->Pending()) PostRead();
    return;
  }
  QString reason;
  if (canceled_)
    reason = QStringLiteral("canceled");
  else if (!Open())
    reason = QStringLiteral("the server closed the connection");
  else if (outcome_ == TWaitOutcome::Silent)
    reason = QStringLiteral("the server did not answer in time");
  else if (handshake_.PosixError != 0)
    reason = SocketErrors::Message(SocketErrors::FromErrno(handshake_.PosixError));
  else
    reason = tls_ ? tls_->ErrorText() : QString();
  if (Open()) RequestCloseSocket();
  throw ESockError(QStringLiteral("No secure connection to ") + host + QStringLiteral(": ") +
                   reason);
}

bool TPowersock::UseAddress(const QHostAddress &address) {
  remoteLength_ = 0;
  if (address.isNull() || address == QHostAddress::AnyIPv4 || address == QHostAddress::AnyIPv6)
    return false;  // "0.0.0.0" and "::" name no host to connect to
  remote_ = {};
  if (address.protocol() == QAbstractSocket::IPv4Protocol) {
    auto *in = reinterpret_cast<sockaddr_in *>(&remote_);
    in->sin_family = AF_INET;
    in->sin_addr.s_addr = htonl(address.toIPv4Address());
    remoteLength_ = sizeof(sockaddr_in);
    return true;
  }
  if (address.protocol() == QAbstractSocket::IPv6Protocol) {
    auto *in6 = reinterpret_cast<sockaddr_in6 *>(&remote_);
    in6->sin6_family = AF_INET6;
    const Q_IPV6ADDR bytes = address.toIPv6Address();
    std::memcpy(&in6->sin6_addr, &bytes, sizeof bytes);
    in6->sin6_scope_id = address.scopeId().toUInt();
    remoteLength_ = sizeof(sockaddr_in6);
    return true;
  }
  return false;
}

void TPowersock::SocketWritable() {
  if (state_ == TSocketState::Connecting && outcome_ == TWaitOutcome::Waiting) {
    writeNotifier_->setEnabled(false);
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error == 0) {
      state_ = TSocketState::Connected;
      disconnectOwed_ = true;
      readNotifier_->setEnabled(true);
      Wake();
      SocketConnected();
    } else {
      SetPlatformError(error);
      lastErrorNo_ = platformError_;
      EndWait(TWaitOutcome::Failed);
    }
    return;
  }
  writeNotifier_->setEnabled(false);
  WriteFromStream();
}

void TPowersock::Disconnect() {
  StatusMessage(8, QStringLiteral("Disconnecting"));
  RequestCloseSocket();
}

void TPowersock::CertifyConnect() {
  if (Open()) return;
  if (OnConnectionRequired) {
    bool handled = false;
    OnConnectionRequired(handled);
    if (handled && Open()) return;
  }
  throw EMailError(QStringLiteral("Not Connected"));
}

// ---- receiving ---------------------------------------------------------------------------

void TPowersock::PostQueued(void (TPowersock::*step)()) {
  QMetaObject::invokeMethod(
      this, [this, step] { RunFromEventLoop(step); }, Qt::QueuedConnection);
}

// A step run by the event loop has no caller to hand an exception to, and none may unwind
// into Qt's event dispatch: socket errors have been reported through OnError before they
// are thrown and the waiting call sees the socket's state; anything else is logged.
void TPowersock::RunFromEventLoop(void (TPowersock::*step)()) noexcept {
  try {
    (this->*step)();
  } catch (const EMailError &error) {
    StatusMessage(4, error.Message());
  } catch (const std::exception &error) {
    qWarning("Mail connection: %s", error.what());
  }
  Wake();
}

void TPowersock::PostRead() { PostQueued(&TPowersock::ReadToStream); }

void TPowersock::ReadToStream() {
  if (canceled_) {
    if (readNotifier_) readNotifier_->setEnabled(false);
    if (CancelHook) CancelHook();
    return;
  }
  // During a TLS handshake the descriptor belongs to it; reading resumes once it is done.
  if (readBusy_ || state_ != TSocketState::Connected || fd_ < 0) return;
  readBusy_ = true;
  const TCleanup clearBusy(alive_, [this] { readBusy_ = false; });
  StatusMessage(8, QStringLiteral("ReadToStream"));

  if (receive_.Full()) {
    // Nobody has taken the waiting lines yet: leave further data in the system until they do.
    readNotifier_->setEnabled(false);
    return;
  }
  char chunk[ChunkSize];
  const TTransport::TResult result = transport_->Read(chunk, sizeof chunk);
  if (result.Kind == TTransport::TResult::Data) {
    receive_.Append(QByteArrayView(chunk, result.Count));
    if (ReplyTimeOut > 0 && silenceTimer_.isActive()) silenceTimer_.start(ReplyTimeOut);
    if (result.Count == ChunkSize || transport_->Pending()) PostRead();
    Wake();
  } else if (result.Kind == TTransport::TResult::Closed) {
    PeerClosed();
  } else if (result.Kind == TTransport::TResult::Error) {
    if (result.PosixError != 0) {
      SetPlatformError(result.PosixError);
      lastErrorNo_ = platformError_;
    }
    if (OnError)
      OnError(static_cast<quint16>(lastErrorNo_), result.PosixError != 0
                                                      ? SocketErrors::Message(lastErrorNo_)
                                                      : transport_->ErrorText());
    // A receive error ends the connection: nothing more will arrive on it.
    PeerClosed();
  }
}

void TPowersock::DrainReceive() {
  char chunk[ChunkSize];
  while (!canceled_ && !receive_.Full() && transport_) {
    const TTransport::TResult result = transport_->Read(chunk, sizeof chunk);
    if (result.Kind != TTransport::TResult::Data) break;
    receive_.Append(QByteArrayView(chunk, result.Count));
  }
}

void TPowersock::PeerClosed() {
  DrainReceive();
  RequestCloseSocket();
}

void TPowersock::ResumeReading() {
  if (Open() && readNotifier_ && !readNotifier_->isEnabled()) {
    readNotifier_->setEnabled(true);
    PostRead();
  }
}

QByteArray TPowersock::ReadLn() {
  StatusMessage(8, QStringLiteral("ReadLn"));
  ResumeReading();
  BeginWait();
  StartSilenceTimer();
  WaitUntil([this] {
    return canceled_ || receive_.HasLine() || receive_.LineTooLong() || !Open() ||
           outcome_ == TWaitOutcome::Silent;
  });
  silenceTimer_.stop();
  if (canceled_) throw EAbortError(QStringLiteral("Socket readln aborted"));
  if (receive_.HasLine()) {
    QByteArray line = receive_.TakeLine();
    ResumeReading();
    return line;
  }
  if (receive_.LineTooLong()) {
    receive_.Clear();
    RequestCloseSocket();
    throw ESockError(LineTooLong);
  }
  if (!Open()) throw ESockError(ClosedByServer);
  // The server owes a reply and stays silent: the dialogue is out of step, so end it.
  RequestCloseSocket();
  throw ESockError(ReplyTimedOut);
}

qint16 TPowersock::ParseReplyNumber(QByteArrayView line) {
  qsizetype digits = 0;
  while (digits < line.size() && digits < 10 && line[digits] >= '0' && line[digits] <= '9')
    ++digits;
  if (digits == 0) return 0;
  qint64 value = 0;
  for (qsizetype i = 0; i < digits; ++i) value = value * 10 + (line[i] - '0');
  if (value > std::numeric_limits<qint32>::max()) return 0;
  if (value > std::numeric_limits<qint16>::max())
    throw EMailError(QStringLiteral("Range check error"));
  return static_cast<qint16>(value);
}

QByteArray TPowersock::Transaction(const QByteArray &command) {
  StatusMessage(8, QStringLiteral("Transaction"));
  replyNumber_ = 0;
  Writeln(command);
  QByteArray line = ReadLn();
  TakeReply(line);
  return line;
}

void TPowersock::TakeReply(const QByteArray &line) {
  replyNumber_ = 0;
  lastLine_ = line;
  if (line.isEmpty()) return;
  StatusMessage(1, QString::fromLatin1(line));
  replyNumber_ = ParseReplyNumber(line);
}

// ---- sending -----------------------------------------------------------------------------

void TPowersock::Write(QByteArrayView text) {
  StatusMessage(8, QStringLiteral("Write"));
  const qsizetype nul = text.indexOf('\0');
  SendBuffer(nul < 0 ? text : text.first(nul));
}

void TPowersock::Writeln(QByteArrayView text) {
  StatusMessage(8, QStringLiteral("Writeln"));
  // The line end goes out even when the text holds a NUL: a command is never left open.
  const qsizetype nul = text.indexOf('\0');
  QByteArray line = (nul < 0 ? text : text.first(nul)).toByteArray();
  line.append("\r\n");
  Write(line);
}

void TPowersock::SendBuffer(const char *bytes, qsizetype length) {
  if (length == 0) length = bytes ? static_cast<qsizetype>(qstrlen(bytes)) : 0;
  SendBuffer(QByteArrayView(bytes, length));
}

void TPowersock::SendBuffer(QByteArrayView bytes) {
  StatusMessage(4, QStringLiteral("Sending Buffer"));
  if (canceled_) return;
  send_.append(bytes);
  SendPending();
}

void TPowersock::SendStream(QIODevice &stream) {
  streamMode_ = true;
  const TCleanup clearMode(alive_, [this] { streamMode_ = false; });
  StatusMessage(8, QStringLiteral("SendStream"));
  if (canceled_) {
    canceled_ = false;
    throw EAbortError(QStringLiteral("Socket send aborted"));
  }
  if (!stream.isSequential()) stream.seek(0);
  StatusMessage(8, QStringLiteral("SendFile"));
  bytesSent_ = 0;
  // A memory buffer shares its bytes instead of handing out a copy.
  const auto *buffer = qobject_cast<const QBuffer *>(&stream);
  const QByteArray content = buffer ? buffer->data() : stream.readAll();
  bytesTotal_ = content.size();
  send_.append(content);
  SendPending();
}

void TPowersock::SendPending() {
  const bool wasConnected = Open();
  if (send_.size() <= sendOffset_) {
    // Nothing to send: done at once (no wait for a write that never comes).
    DiscardSend();
    if (!Open()) throw ESockError(SocketErrors::Message(10057));
    return;
  }
  BeginWait();
  sendError_ = 0;
  PostWrite();
  StartSilenceTimer();
  WaitUntil([this] { return outcome_ != TWaitOutcome::Waiting || canceled_ || !Open(); });
  silenceTimer_.stop();
  if (canceled_) {
    canceled_ = false;
    DiscardSend();
    throw EAbortError(QStringLiteral("Socket send aborted"));
  }
  if (outcome_ == TWaitOutcome::Done) return;
  DiscardSend();
  if (!Open()) {
    throw ESockError(wasConnected ? ClosedByServer : SocketErrors::Message(10057));
  }
  if (sendError_ != 0) throw ESockError(SocketErrors::Message(sendError_));
  RequestCloseSocket();
  throw ESockError(SendStalled);
}

void TPowersock::DiscardSend() {
  send_.clear();
  sendOffset_ = 0;
}

void TPowersock::PostWrite() { PostQueued(&TPowersock::WriteFromStream); }

void TPowersock::WriteFromStream() {
  if (writeBusy_) {
    writeAgain_ = true;
    return;
  }
  writeBusy_ = true;
  const TCleanup clearBusy(alive_, [this] {
    writeBusy_ = false;
    if (writeAgain_) {
      writeAgain_ = false;
      PostWrite();
    }
  });
  StatusMessage(8, QStringLiteral("WriteFromStream"));

  if (sendOffset_ >= send_.size() || canceled_ || state_ != TSocketState::Connected || fd_ < 0)
    return;  // the waiting send sees the closed connection
  const qsizetype pending = send_.size() - sendOffset_;
  const TTransport::TResult result =
      transport_->Write(send_.constData() + sendOffset_, std::min<qsizetype>(pending, ChunkSize));
  if (result.Kind != TTransport::TResult::Data) {
    if (result.Kind == TTransport::TResult::WantWrite ||
        result.Kind == TTransport::TResult::WantRead) {
      // The system's buffer is full (or TLS waits for the peer): the next writable
      // notification resumes.
      writeNotifier_->setEnabled(true);
      return;
    }
    if (result.PosixError != 0) SetPlatformError(result.PosixError);
    lastErrorNo_ = platformError_;
    sendError_ = lastErrorNo_ != 0 ? lastErrorNo_ : SocketErrors::FromErrno(ECONNRESET);
    if (OnError)
      OnError(static_cast<quint16>(lastErrorNo_), result.PosixError != 0
                                                      ? SocketErrors::Message(lastErrorNo_)
                                                      : transport_->ErrorText());
    // A server that refuses the rest of a message often says why before it closes: keep its
    // reply for the caller.
    DrainReceive();
    EndWait(TWaitOutcome::Failed);
    return;
  }
  const qsizetype count = result.Count;
  sendOffset_ += count;
  if (sendOffset_ < send_.size()) {
    PostWrite();
  } else {
    DiscardSend();
    EndWait(TWaitOutcome::Done);
  }
  if (count > 0 && ReplyTimeOut > 0 && silenceTimer_.isActive()) silenceTimer_.start(ReplyTimeOut);
  bytesSent_ += count;
  if (streamMode_ && OnPacketSent) OnPacketSent(bytesSent_, bytesTotal_);
}
