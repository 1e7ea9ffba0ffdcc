// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "settings/core/RegKey.h"

// The machine-wide, read-only part of the settings tree (HKEY_LOCAL_MACHINE): the file
// "machine.reg" of the program's folder, then "vellumix/machine.reg" of each system
// configuration folder ($XDG_CONFIG_DIRS, /etc/xdg by default), so that a packager or an
// administrator can add to what the program ships. Later files add keys and override values
// of earlier ones. A damaged file is skipped and named in Errors(); the program never writes
// these files.
class TMachineHive {
 public:
  // Reads the files anew (converters installed while the program runs are seen at once).
  static TMachineHive Load();
  // The files Load reads, in order.
  static QStringList Files();

  // The key at a path below HKEY_LOCAL_MACHINE ("SOFTWARE\...\Import"); null when missing.
  const TRegKey *Key(const QString &path) const;
  QStringList Errors() const { return errors_; }

  // Adds the keys and values of a file's text (for Load and for tests).
  void Merge(QByteArrayView bytes, const QString &fileName);

 private:
  std::unique_ptr<TRegKey> root_ = std::make_unique<TRegKey>();
  QStringList errors_;
};
