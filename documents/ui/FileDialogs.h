// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QFileDialog;

// The stored settings of an Open dialog that is made for each use: its type list
// ("Name|*.a;*.b|...") and the 1-based index of the type last chosen in it.
class TFileDialogSettings : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Filter READ Filter WRITE SetFilter)
  Q_PROPERTY(int FilterIndex READ FilterIndex WRITE SetFilterIndex)

 public:
  using QObject::QObject;
  QString Filter() const { return filter_; }
  void SetFilter(const QString &filter) { filter_ = filter; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }

 private:
  QString filter_;
  int filterIndex_ = 1;
};

// The file-type lists of the Open and Save As dialogs. A list is kept as the user wrote it,
// "Name|*.a;*.b|Name|*.c|...", with a 1-based index of the chosen type.
namespace FileDialogs {

// The dialog's entries for such a list, one per name, in its order.
QStringList NameFilters(const QString &filter);
// Gives the dialog the list and selects the indexed type (an index out of range: the first).
void SetFilters(QFileDialog &dialog, const QString &filter, int index);
// The 1-based index of the type chosen in the dialog; 0 when none is.
int ChosenIndex(const QFileDialog &dialog, const QString &filter);

}  // namespace FileDialogs
