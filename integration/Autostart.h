// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Starting the program at logon through XDG autostart entries. The Run list is the entry
// "<name>.desktop" and the RunOnce list the entry "<name>-once.desktop" in the user's
// $XDG_CONFIG_HOME/autostart/ or, machine-wide (Global), in the autostart folder of the first
// of $XDG_CONFIG_DIRS (/etc/xdg by default) when that is writable. <name> is appName with every
// character that does not belong in a file name replaced by '-'. An entry starts the program
// by its full path. The program takes its RunOnce entry away again when it starts
// (StartNextLogon := false while the main window loads).
class TAutostart {
 public:
  enum class TList { Run, RunOnce };

  // programPath: the full path the entries start; empty: the running program.
  explicit TAutostart(const QString &appName, QString programPath = QString());

  // The component as the main window loads it: created under the application title, then
  // its stored values applied in order (name, autostart, StartNextLogon, Global).
  static void LoadMainWindowValues(TAutostart &component);

  QString appName() const { return appName_; }
  void SetAppName(const QString &name);
  bool autostart() const { return autostart_; }
  void SetAutostart(bool value);
  bool StartNextLogon() const { return startNextLogon_; }
  void SetStartNextLogon(bool value);
  bool Global() const { return global_; }
  void SetGlobal(bool value);

  bool EntryExists(TList list, bool machineWide) const;
  // Writes or deletes the entry; the answer is whether the entry is now there.
  bool WriteEntry(TList list, bool machineWide, bool enable);

  QString EntryPath(TList list, bool machineWide) const;
  static QString UserFolder();
  static QString SystemFolder();
  static QString SafeFileName(const QString &appName);

  // The process-wide first-write rule: the first write keeps an existing Run entry. Tests
  // start each case afresh.
  static void ResetFirstWrite();

 private:
  bool machineWideWritable() const;
  // Writes or deletes one entry, without the first-write rule.
  bool putEntry(TList list, bool machineWide, bool enable);

  QString appName_;
  QString programPath_;
  bool autostart_ = false;
  bool startNextLogon_ = false;
  bool global_ = false;
};
