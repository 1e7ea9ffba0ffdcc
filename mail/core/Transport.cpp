// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/Transport.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <sys/socket.h>

#include <QHostAddress>
#include <cerrno>

#include "mail/core/MailErrors.h"

namespace {

using TResult = TTransport::TResult;

TResult Moved(qsizetype count) { return {TResult::Data, count, 0}; }

TResult SystemOutcome(ssize_t count) {
  if (count > 0) return Moved(count);
  if (count == 0) return {TResult::Closed, 0, 0};
  const int error = errno;
  if (error == EAGAIN || error == EWOULDBLOCK || error == EINTR) return {TResult::WantRead, 0, 0};
  return {TResult::Error, 0, error};
}

QString OpenSslErrors() {
  QString text;
  while (const unsigned long code = ERR_get_error()) {
    char buffer[256];
    ERR_error_string_n(code, buffer, sizeof buffer);
    if (!text.isEmpty()) text += QStringLiteral("; ");
    text += QString::fromLatin1(buffer);
  }
  return text;
}

}  // namespace

TResult TPlainTransport::Read(char *bytes, qsizetype size) {
  return SystemOutcome(::recv(fd_, bytes, static_cast<size_t>(size), 0));
}

TResult TPlainTransport::Write(const char *bytes, qsizetype size) {
  TResult result = SystemOutcome(::send(fd_, bytes, static_cast<size_t>(size), MSG_NOSIGNAL));
  if (result.Kind == TResult::WantRead) result.Kind = TResult::WantWrite;
  // A send of some bytes never reports 0; treat it as "try again".
  if (result.Kind == TResult::Closed) result.Kind = TResult::WantWrite;
  return result;
}

struct TTlsTransport::TState {
  SSL_CTX *context = nullptr;
  SSL *ssl = nullptr;
  ~TState() {
    SSL_free(ssl);
    SSL_CTX_free(context);
  }
};

TTlsTransport::TTlsTransport(int fd, const QString &host) : state_(std::make_unique<TState>()) {
  ERR_clear_error();
  auto fail = [](const QString &what) {
    throw ESockError(QStringLiteral("TLS could not be set up (") + what + QStringLiteral("): ") +
                     OpenSslErrors());
  };
  state_->context = SSL_CTX_new(TLS_client_method());
  if (!state_->context) fail(QStringLiteral("context"));
  SSL_CTX_set_min_proto_version(state_->context, TLS1_2_VERSION);
  SSL_CTX_set_verify(state_->context, SSL_VERIFY_PEER, nullptr);
  if (SSL_CTX_set_default_verify_paths(state_->context) != 1) fail(QStringLiteral("certificates"));
  SSL_CTX_set_mode(state_->context,
                   SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  state_->ssl = SSL_new(state_->context);
  if (!state_->ssl || SSL_set_fd(state_->ssl, fd) != 1) fail(QStringLiteral("session"));

  const QByteArray name = host.trimmed().toUtf8();
  X509_VERIFY_PARAM *param = SSL_get0_param(state_->ssl);
  if (QHostAddress(host.trimmed()).isNull()) {
    // A name: sent as SNI and matched against the certificate's DNS names.
    X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
    // What SSL_set_tlsext_host_name expands to, without its C cast.
    if (SSL_ctrl(state_->ssl, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                 const_cast<char *>(name.constData())) != 1 ||
        X509_VERIFY_PARAM_set1_host(param, name.constData(), static_cast<size_t>(name.size())) != 1)
      fail(QStringLiteral("host name"));
  } else if (X509_VERIFY_PARAM_set1_ip_asc(param, name.constData()) != 1) {
    // An address literal is matched against the certificate's IP addresses.
    fail(QStringLiteral("host address"));
  }
  SSL_set_connect_state(state_->ssl);
}

TTlsTransport::~TTlsTransport() = default;

TResult TTlsTransport::Outcome(int result) {
  if (result > 0) return Moved(result);
  const int error = SSL_get_error(state_->ssl, result);
  switch (error) {
    case SSL_ERROR_WANT_READ:
      return {TResult::WantRead, 0, 0};
    case SSL_ERROR_WANT_WRITE:
      return {TResult::WantWrite, 0, 0};
    case SSL_ERROR_ZERO_RETURN:
      return {TResult::Closed, 0, 0};
    case SSL_ERROR_SYSCALL: {
      const int posix = errno;
      error_ = OpenSslErrors();
      if (posix == 0 || (result == 0 && error_.isEmpty())) return {TResult::Closed, 0, 0};
      if (posix == EAGAIN || posix == EINTR) return {TResult::WantRead, 0, 0};
      return {TResult::Error, 0, posix};
    }
    default:
      break;
  }
  const long verify = SSL_get_verify_result(state_->ssl);
  error_ = verify != X509_V_OK ? QString::fromLatin1(X509_verify_cert_error_string(verify))
                               : OpenSslErrors();
  if (error_.isEmpty()) error_ = QStringLiteral("TLS error ") + QString::number(error);
  return {TResult::Error, 0, 0};
}

TResult TTlsTransport::Handshake() {
  ERR_clear_error();
  errno = 0;
  const int result = SSL_do_handshake(state_->ssl);
  if (result == 1) return Moved(0);
  TResult outcome = Outcome(result);
  if (outcome.Kind == TResult::Closed) {
    // The peer ended the connection before the handshake finished.
    if (error_.isEmpty()) error_ = QStringLiteral("the server closed the connection");
    outcome.Kind = TResult::Error;
  }
  return outcome;
}

TResult TTlsTransport::Read(char *bytes, qsizetype size) {
  ERR_clear_error();
  errno = 0;
  return Outcome(SSL_read(state_->ssl, bytes, static_cast<int>(size)));
}

TResult TTlsTransport::Write(const char *bytes, qsizetype size) {
  ERR_clear_error();
  errno = 0;
  return Outcome(SSL_write(state_->ssl, bytes, static_cast<int>(size)));
}

bool TTlsTransport::Pending() const { return SSL_pending(state_->ssl) > 0; }
