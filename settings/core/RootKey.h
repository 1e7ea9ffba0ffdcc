// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "settings/core/SettingsStore.h"

// The program's root key below the hive of the current user.
inline const QString VellumixRootKey = QStringLiteral("\\Software\\Kestrelwick\\Vellumix");

// An open handle on a root key of the settings tree, with the section operations that every
// reader and writer of the tree uses. Opening creates the root key when it is missing.
// Sections are paths relative to the root key ("Main Form", "Main Form\TfrmMainbarMCustom");
// a section that begins with a backslash is relative to the hive. A section name holding a
// period ("Main Form.SMTPSignature_Lines") is one key whose name holds the period.
//
// The changes made through the handles of a store reach the file when the last of them closes
// (Close, or the destructor). Close reports a failed write by throwing ESettingsError; the
// destructor cannot, and leaves the changes pending for the next close.
class TRootKey {
 public:
  explicit TRootKey(const QString &rootPath = VellumixRootKey,
                    TSettingsStore &store = TSettingsStore::User());
  ~TRootKey();
  TRootKey(const TRootKey &) = delete;
  TRootKey &operator=(const TRootKey &) = delete;

  void Close();

  // The value's text, or def when the section or the value is missing. A value that is not
  // of a string type throws ESettingsError "Invalid data type for '<name>'".
  QString ReadString(const QString &section, const QString &name, const QString &def) const;
  // The value's text as a decimal integer; def when missing or not a valid integer.
  int ReadInteger(const QString &section, const QString &name, int def) const;
  // Writers create the section when missing.
  void WriteString(const QString &section, const QString &name, const QString &value);
  void WriteInteger(const QString &section, const QString &name, int value);
  // "1" or "0".
  void WriteBool(const QString &section, const QString &name, bool value);
  // Deletes the section with every key below it; nothing happens when it does not exist.
  void EraseSection(const QString &section);
  void DeleteValue(const QString &section, const QString &name);

  bool SectionExists(const QString &section) const;
  bool ValueExists(const QString &section, const QString &name) const;
  QStringList ValueNames(const QString &section) const;
  QStringList SectionNames(const QString &section) const;

  TSettingsStore &Store() const { return store_; }
  // The key path of a section below the hive, split into names.
  QStringList SectionPath(const QString &section) const;

 private:
  const TRegValue *FindValue(const QString &section, const QString &name) const;

  TSettingsStore &store_;
  QStringList rootPath_;
  bool open_ = true;
};

// Writes one text value into the "Edit Form" section at once (its own open and close of the
// root key), so that document windows made later start with it. Throws ESettingsError when
// the value cannot be written.
void WriteEditSetting(const QString &name, const QString &text,
                      TSettingsStore &store = TSettingsStore::User());
