// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>
#include <optional>

// The address book's list. "Sorted" keeps the entries in order of their text without regard
// to letter case; turning it off keeps the current order. The form storage reads and writes
// the property by that name.
class TAddressList : public QListWidget {
  Q_OBJECT
  Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)

 public:
  explicit TAddressList(QWidget *parent = nullptr);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

  QStringList Entries() const;
  // Replaces the entries, in sorted order when the list is sorted.
  void SetEntries(const QStringList &entries);
  // The text of the highlighted entry, or nothing when none is highlighted.
  std::optional<QString> Highlighted() const;

 private:
  bool sorted_ = false;
};
