#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Errors of the mail engine. EMailError is the plain error (a server's reply line, "Not
// Connected", "Incomplete Header", ...); ESockError marks socket-level failures and
// EAbortError an operation ended by a cancel.
class EMailError : public std::exception {
 public:
  explicit EMailError(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString &Message() const { return message_; }
  const char *what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

class ESockError : public EMailError {
 public:
  using EMailError::EMailError;
};

class EAbortError : public EMailError {
 public:
  using EMailError::EMailError;
};
