// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <stdexcept>

// A failure of the settings store that the user may be told about: an unreadable value
// ("Invalid data type for '%s'"), a key or value that cannot be written, a file that cannot
// be replaced. Message() is the text for the user.
class ESettingsError : public std::runtime_error {
 public:
  explicit ESettingsError(const QString &message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString &Message() const { return message_; }

  static ESettingsError InvalidDataType(const QString &valueName) {
    return ESettingsError(QStringLiteral("Invalid data type for '%1'").arg(valueName));
  }
  static ESettingsError CannotCreateKey(const QString &keyPath) {
    return ESettingsError(QStringLiteral("Failed to create key %1").arg(keyPath));
  }
  static ESettingsError CannotSetData(const QString &valueName) {
    return ESettingsError(QStringLiteral("Failed to set data for '%1'").arg(valueName));
  }

 private:
  QString message_;
};
