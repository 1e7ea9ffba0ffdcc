// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/core/FileLists.h"

#include "settings/core/RootKey.h"

namespace {

const QString kRecentKey = QStringLiteral("MRUS");
const QString kFavoritesKey = QStringLiteral("Favorites");

void loadList(TRootKey &root, const QString &section, QString (*valueName)(int),
              QStringList &list) {
  list.clear();
  for (int n = 0; n < TFileLists::MaxEntries; ++n) {
    if (!root.ValueExists(section, valueName(n))) break;
    list.append(root.ReadString(section, valueName(n), QString()));
  }
}

void saveList(TRootKey &root, const QString &section, QString (*valueName)(int),
              const QStringList &list) {
  for (int n = 0; n < TFileLists::MaxEntries; ++n)
    root.WriteString(section, valueName(n), n < list.size() ? list[n] : QString());
}

}  // namespace

void TFileLists::Load(TRootKey &root) {
  // Both keys exist after the first load, as they do after every save.
  for (const QString &key : {kRecentKey, kFavoritesKey})
    if (!root.SectionExists(key)) root.Store().CreateKey(root.SectionPath(key));
  loadList(root, kRecentKey, &RecentValueName, recent_);
  loadList(root, kFavoritesKey, &FavoriteValueName, favorites_);
}

void TFileLists::Save(TRootKey &root) const {
  saveList(root, kRecentKey, &RecentValueName, recent_);
  saveList(root, kFavoritesKey, &FavoriteValueName, favorites_);
}

void TFileLists::UpdateMRU(const QString &path) {
  const qsizetype at = recent_.indexOf(path);
  if (at >= 0) {
    recent_.move(at, 0);
    return;
  }
  recent_.prepend(path);
  while (recent_.size() > MaxEntries) recent_.removeLast();
}

void TFileLists::RemoveRecent(int position) {
  if (position >= 0 && position < recent_.size()) recent_.removeAt(position);
}

void TFileLists::RemoveFavorite(int position) {
  if (position >= 0 && position < favorites_.size()) favorites_.removeAt(position);
}

void TFileLists::SetFavorites(const QStringList &favorites) {
  favorites_ = favorites.mid(0, MaxEntries);
}
