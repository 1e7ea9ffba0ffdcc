// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class THolder;

// The mail settings as the main window's setting holders keep them, found by name on their
// owner. A holder that does not exist reads as empty and ignores writes.
class TMailSettings {
 public:
  explicit TMailSettings(QObject *holders) : holders_(holders) {}

  QString Caption(const QString &name) const;
  void SetCaption(const QString &name, const QString &text);
  bool Checked(const QString &name) const;
  void SetChecked(const QString &name, bool checked);
  QStringList Lines(const QString &name) const;

  QObject *Owner() const { return holders_; }

  // True when no outgoing server is set: an empty host or the placeholder, in any letter
  // case (also the placeholder earlier versions stored).
  static bool NoServer(const QString &host);

 private:
  THolder *Find(const QString &name) const;

  QObject *holders_;
};
