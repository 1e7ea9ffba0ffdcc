// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
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

// The server refused the login: the name or the password is wrong.
class EAuthError : public EMailError {
 public:
  using EMailError::EMailError;
};

// The server refused one or more recipients, so the message was not sent at all. Refused()
// names each one with the server's reply.
class ERecipientsRefused : public EMailError {
 public:
  ERecipientsRefused(QString message, QStringList refused)
      : EMailError(std::move(message)), refused_(std::move(refused)) {}
  const QStringList &Refused() const { return refused_; }

 private:
  QStringList refused_;
};
