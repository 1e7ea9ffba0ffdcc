// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/FixedLabel.h"

#include <QLabel>

QLabel *AddFixedLabel(QWidget *parent, const char *name, const QString &text, QRect place,
                      Qt::Alignment alignment) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setAlignment(alignment | Qt::AlignTop);
  return label;
}
