// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class TRootKey;

// The recent-files list (the last eight files opened or saved under a new name, most recent
// first) and the favourite-files list (up to eight files the user picked). Both may end in
// empty placeholders, which come from the stored form. Paths keep their case: on this system
// a path that differs in case names another file, so the recent list compares exactly.
class TFileLists {
 public:
  static constexpr int MaxEntries = 8;

  const QStringList &Recent() const { return recent_; }
  const QStringList &Favorites() const { return favorites_; }

  // Reads "MRUS\mniMRU1.." and "Favorites\mniFav01..", each list stopping at its first missing
  // value. A value of another type stops that list with the store's error (thrown); the
  // entries read before it stay.
  void Load(TRootKey &root);
  // Writes all eight values of both keys; positions without an entry get the empty string.
  void Save(TRootKey &root) const;

  // Puts a path at the top of the recent list: an entry already there moves up, a new one
  // pushes the oldest entry (or a placeholder) out when the list is full.
  void UpdateMRU(const QString &path);
  // Removes the entry at a list position (0-based); nothing when there is none.
  void RemoveRecent(int position);
  void RemoveFavorite(int position);
  // Replaces the favourites (the preferences dialog's list, already in its order).
  void SetFavorites(const QStringList &favorites);

  static QString RecentValueName(int position) {
    return QStringLiteral("mniMRU%1").arg(position + 1);
  }
  static QString FavoriteValueName(int position) {
    return QStringLiteral("mniFav0%1").arg(position + 1);
  }

 private:
  QStringList recent_;
  QStringList favorites_;
};
