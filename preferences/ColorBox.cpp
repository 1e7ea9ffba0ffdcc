// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/ColorBox.h"

#include <QPixmap>

#include "platform/gui/WinColor.h"

TColorBox::TColorBox(QWidget *parent) : QComboBox(parent) {
  static const std::pair<const char *, int> named[] = {
      {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
      {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
      {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
      {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
  };
  for (const auto &[name, value] : named) addColor(QString::fromLatin1(name), value);
  connect(this, &QComboBox::currentIndexChanged, this,
          [this] { Q_EMIT ColorChanged(SelectedColor()); });
}

void TColorBox::addColor(const QString &name, int value) {
  QPixmap swatch(16, 12);
  swatch.fill(WinColor::ToQColor(value));
  addItem(QIcon(swatch), name, value);
}

int TColorBox::SelectedColor() const { return currentData().toInt(); }

void TColorBox::SetSelectedColor(int value) {
  int index = findData(value);
  if (index < 0) {
    addColor(QStringLiteral("Custom"), value);
    index = count() - 1;
  }
  setCurrentIndex(index);
}
