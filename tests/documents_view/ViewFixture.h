// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

// What the view's tests lay out: text made of one word again and again, in one monospaced face.
namespace ViewText {

inline QString Words(qsizetype size,
                     const QString &word = QStringLiteral("{\"key\":\"value\",\"n\":12}, ")) {
  QString text;
  while (text.size() < size) text += word;
  text.truncate(size);
  return text;
}

inline QFont Font() {
  QFont font(QStringLiteral("Liberation Mono"));
  font.setPixelSize(13);
  return font;
}

}  // namespace ViewText
