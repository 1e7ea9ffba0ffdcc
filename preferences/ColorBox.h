// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// A drop-down list of the sixteen named colours, each with its swatch, keeping the choice as
// a stored colour value (0x00BBGGRR). A value that names no listed colour is added as
// "Custom" so that it is kept.
class TColorBox : public QComboBox {
  Q_OBJECT
  Q_PROPERTY(int SelectedColor READ SelectedColor WRITE SetSelectedColor)

 public:
  explicit TColorBox(QWidget *parent = nullptr);

  int SelectedColor() const;
  void SetSelectedColor(int value);

 Q_SIGNALS:
  // A new colour was chosen by the user or set.
  void ColorChanged(int value);

 private:
  void addColor(const QString &name, int value);
};
