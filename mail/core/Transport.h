// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

// The byte channel under a socket connection: plain, or TLS on the same non-blocking
// descriptor. Neither blocks: an operation that cannot go on says which readiness of the
// descriptor it waits for.
class TTransport {
 public:
  struct TResult {
    enum TKind { Data, WantRead, WantWrite, Closed, Error } Kind = Data;
    // Bytes moved when Kind is Data.
    qsizetype Count = 0;
    // errno of a failed system call; 0 for a TLS protocol failure.
    int PosixError = 0;
  };

  virtual ~TTransport() = default;
  virtual TResult Read(char *bytes, qsizetype size) = 0;
  virtual TResult Write(const char *bytes, qsizetype size) = 0;
  // True when decrypted bytes wait inside the transport, unseen by the descriptor's readiness.
  virtual bool Pending() const { return false; }
  virtual bool Secure() const { return false; }
  // What went wrong in the last failed operation.
  virtual QString ErrorText() const { return {}; }
};

class TPlainTransport : public TTransport {
 public:
  explicit TPlainTransport(int fd) : fd_(fd) {}
  TResult Read(char *bytes, qsizetype size) override;
  TResult Write(const char *bytes, qsizetype size) override;

 private:
  int fd_;
};

// TLS 1.2 or later as a client: the system's certificate store (OpenSSL's default paths,
// which honour SSL_CERT_FILE), the host name checked against the certificate, SNI sent for
// names. Handshake() is called again after each WantRead or WantWrite until it says Data.
class TTlsTransport : public TTransport {
 public:
  // Throws ESockError when OpenSSL cannot set up a session.
  TTlsTransport(int fd, const QString &host);
  ~TTlsTransport() override;
  TTlsTransport(const TTlsTransport &) = delete;
  TTlsTransport &operator=(const TTlsTransport &) = delete;

  TResult Handshake();
  TResult Read(char *bytes, qsizetype size) override;
  TResult Write(const char *bytes, qsizetype size) override;
  bool Pending() const override;
  bool Secure() const override { return true; }
  QString ErrorText() const override { return error_; }

 private:
  struct TState;
  TResult Outcome(int result);

  std::unique_ptr<TState> state_;
  QString error_;
};
