// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QRadioButton;

// The "Open/Save Filters" page: sixteen rows of a default radio button, a name and an
// extension, filled one new row at a time.
class TFiltersPage : public QWidget {
  Q_OBJECT

 public:
  explicit TFiltersPage(QWidget *parent = nullptr);

  // Fills the rows from a filter list and checks the default row (1-based).
  void Fill(const QString &filter, int defaultRow);
  // The row-enabling rule; focus: the page is showing, so the first empty box gets the focus.
  void EnableRows(bool focus);
  // The filter list of the complete rows.
  QString Filter() const;
  // Moves a default row that would be left out of the list, and returns the default's
  // position in the list.
  int CommitDefault();

  QLineEdit *Box(int number) const { return boxes_[number - 1]; }
  QRadioButton *Radio(int row) const { return radios_[row - 1]; }

 private:
  QStringList texts() const;
  void FilterVerify(int number);
  void warn(const QString &text, QLineEdit *focus);

  QList<QLineEdit *> boxes_;
  QList<QRadioButton *> radios_;
};
