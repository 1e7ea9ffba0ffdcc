// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// The pictures of the glyph list, index by index: icons of the Tango theme where one fits,
// combined with a small second icon or drawn here where none does.
class TGlyphArt {
 public:
  struct TGlyph {
    QString meaning;  // what the glyph stands for
    QString source;   // where its picture comes from, for the strip's README
    QImage picture;   // 16 x 16, with alpha
  };

  // themeDir is the Tango theme folder (holding 16x16/ and 32x32/); programIcon is the
  // program's own icon at 16 x 16. A missing theme icon is listed in errors.
  static QList<TGlyph> Build(const QString &themeDir, const QImage &programIcon,
                             QStringList *errors);
};
