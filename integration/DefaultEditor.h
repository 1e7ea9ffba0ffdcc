// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Makes the program the user's default application for plain text, and undoes it: the
// "[Default Applications]" group of $XDG_CONFIG_HOME/mimeapps.list names its desktop entry for
// text/plain. The default it replaces is remembered in a backup file (as a renamed copy keeps
// an old program) and put back on undo. Every other line of mimeapps.list stays as it was.
class TDefaultEditor {
 public:
  // programPath: the program the launcher entry starts when one has to be written.
  explicit TDefaultEditor(QString programPath, QString desktopId = QString());

  static QString MimeType() { return QStringLiteral("text/plain"); }
  static QString Group() { return QStringLiteral("Default Applications"); }
  QString MimeAppsPath() const;
  // Holds the replaced default: one line, empty when there was none.
  QString BackupPath() const;

  // Whether mimeapps.list names this program first for text/plain (letter case ignored).
  bool IsDefault() const;
  // The desktop ids mimeapps.list names for text/plain, in order.
  QStringList Defaults() const;

  // Makes the program the default. An existing backup is kept (the first replaced default
  // is the one to come back). False with Error() when mimeapps.list could not be written.
  bool MakeDefault();
  // Puts the remembered default back (or drops the entry when there was none) and removes
  // the backup. Without a backup, only this program's own entry is taken out.
  bool Undo();
  QString Error() const { return error_; }

 private:
  QString programPath_;
  QString id_;
  QString error_;
};
