// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "settings/core/RegFile.h"
#include "settings/core/RegKey.h"

// The settings tree of one user, kept in one file in the syntax of registry export files.
//
// Reading and writing work on the tree in memory. Changes are remembered one by one and reach
// the file when the last root-key handle closes (see TRootKey): under an advisory lock the file
// is read again, the remembered changes are applied to what is there now (so that values
// another running copy wrote meanwhile survive, value by value), and the result replaces the
// file atomically (temporary file, then rename). A failed write keeps the changes for the next
// try and leaves the old file intact.
//
// A file that cannot be read or parsed is moved aside under another name, reported once
// (TakeLoadReport), and the tree starts empty so that every default applies.
class TSettingsStore {
 public:
  // The hive every path of this store is relative to.
  static const QString HiveName;
  // Longest text of one value; longer texts are refused so the file stays readable.
  static constexpr qsizetype MaxValueTextLength = RegFile::MaxValueLength;

  explicit TSettingsStore(const QString &filePath);
  ~TSettingsStore();
  TSettingsStore(const TSettingsStore &) = delete;
  TSettingsStore &operator=(const TSettingsStore &) = delete;

  // $XDG_CONFIG_HOME/Kestrelwick/Vellumix.reg (~/.config when the variable is unset).
  static QString UserFilePath();
  // The process-wide store of the user's settings file.
  static TSettingsStore &User();

  const QString &FilePath() const { return filePath_; }

  // Root-key handles. The first handle re-reads the file when it changed on disk and no change
  // is pending; releasing the last one writes the pending changes (Commit) and throws
  // ESettingsError when that fails.
  void AddHandle();
  void ReleaseHandle();
  int Handles() const { return handles_; }

  // Access below the hive; a path is a list of key names.
  const TRegKey *Find(const QStringList &path);
  // Each of these throws ESettingsError ("Failed to create key ..." for a path that is too
  // deep or has a bad name, "Failed to set data for ..." for a value that is too long).
  void CreateKey(const QStringList &path);
  void SetValue(const QStringList &path, const TRegValue &value);
  void DeleteKey(const QStringList &path);
  void DeleteValue(const QStringList &path, const QString &name);

  // Writes the pending changes now (see above).
  void Commit();
  bool HasPendingChanges() const { return !journal_.empty(); }

  // The message about a damaged or unreadable file found while loading, once; then empty.
  QString TakeLoadReport();

 private:
  struct TChange;
  struct TFileStamp {
    bool exists = false;
    quint64 device = 0, inode = 0;
    qint64 size = 0, modifiedNs = 0;
    bool operator==(const TFileStamp &) const = default;
  };

  void EnsureLoaded();
  void Load();
  // Reads and parses the file; null with reason set when it is damaged or unreadable; an
  // empty tree when it does not exist.
  std::unique_ptr<TRegKey> ReadFile(QString &reason, TFileStamp &stamp) const;
  // Moves a damaged file aside and sets the report; false when it could not be moved.
  bool SetAside(const QString &reason);
  TFileStamp StampOf() const;
  void Record(TChange change);
  static void Apply(const TChange &change, TRegKey &root);
  static QString KeyText(const QStringList &path);
  static void CheckPath(const QStringList &path);

  QString filePath_;
  std::unique_ptr<TRegKey> root_;
  std::vector<TChange> journal_;
  TFileStamp stamp_;
  bool loaded_ = false;
  bool readOnly_ = false;
  int handles_ = 0;
  QString report_;
};
