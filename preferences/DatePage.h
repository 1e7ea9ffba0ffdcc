// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QSplitter;
class THolder;

// The left pane of the date page; its width is a stored setting.
class TWidthPane : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Width READ Width WRITE SetWidth)

 public:
  TWidthPane(QSplitter *splitter);
  int Width() const { return width(); }
  void SetWidth(int width);

 private:
  QSplitter *splitter_;
};

// The "Date & Time" page: the date and time formats shown with the current moment, the
// sample of the choice, and "Return to default". A choice reaches the holders lblDate and
// lblTime at once, so the date stamp uses it.
class TDatePage : public QWidget {
  Q_OBJECT

 public:
  TDatePage(THolder &dateHolder, THolder &timeHolder, QWidget *parent = nullptr);

  // Fills both lists from moment and selects the entries the holders keep.
  void Fill(const QDateTime &moment);

  QListWidget *lstDate;
  QListWidget *lstTime;
  QLabel *lblDateDisplay;
  QCheckBox *chkDefault;

 private:
  void UpdateDateTime(int tag);
  void DefaultDateTime();
  void ShowSample(int clickedTag);

  THolder &date_;
  THolder &time_;
};
