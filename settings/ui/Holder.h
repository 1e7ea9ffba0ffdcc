// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

// An invisible named control of the main window whose only job is to keep one user setting:
// a text (Caption), a check mark (Checked), a colour (Color, as a stored colour value) or lines
// (Lines). The settings store persists the properties by name.
class THolder : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(int Color READ Color WRITE SetColor)
  Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)

 public:
  THolder(const QString &name, QObject *parent) : QObject(parent) { setObjectName(name); }

  QString Caption() const { return caption_; }
  void SetCaption(const QString &caption) { caption_ = caption; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked) { checked_ = checked; }
  int Color() const { return color_; }
  void SetColor(int color) { color_ = color; }
  QStringList Lines() const { return lines_; }
  void SetLines(const QStringList &lines) { lines_ = lines; }

 private:
  QString caption_;
  bool checked_ = false;
  int color_ = 0;
  QStringList lines_;
};
