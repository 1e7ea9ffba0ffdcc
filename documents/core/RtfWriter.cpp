// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/RtfWriter.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include "platform/core/CodePage.h"

namespace {

// Fonts and colours in the order the document first uses them.
struct TTables {
  QStringList fonts;
  QList<QColor> colors;  // without the automatic colour, which is entry 0

  static QString Family(const QTextCharFormat &format) {
    const QStringList families = format.fontFamilies().toStringList();
    return families.isEmpty() ? QString() : families.first();
  }
  static QColor Color(const QTextCharFormat &format) {
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) return QColor();
    const QBrush brush = format.foreground();
    return brush.style() == Qt::NoBrush ? QColor() : brush.color();
  }
  void Add(const QTextCharFormat &format) {
    const QString family = Family(format);
    if (!family.isEmpty() && !fonts.contains(family)) fonts.append(family);
    const QColor color = Color(format);
    if (color.isValid() && !colors.contains(color)) colors.append(color);
  }
};

void AppendEscaped(QByteArray &out, QStringView text) {
  for (const QChar qc : text) {
    const char16_t c = qc.unicode();
    if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += char(c);
    } else if (c == u'\t') {
      out += "\\tab ";
    } else if (c == u'\u2028' || c == u'\n') {
      out += "\\line ";
    } else if (c == u'\u00A0') {
      out += "\\~";
    } else if (c >= 0x20 && c < 0x7F) {
      out += char(c);
    } else if (c < 0x20) {
      continue;  // other control characters have no place in rich text
    } else if (CodePage::FitsWindows1252(QStringView(&qc, 1))) {
      const QByteArray byte = CodePage::ToWindows1252(QStringView(&qc, 1));
      out += "\\'" + byte.toHex();
    } else {
      // Signed 16-bit value as RTF readers expect, with '?' for those that skip it.
      out += "\\u" + QByteArray::number(int(qint16(c))) + '?';
    }
  }
}

QByteArray AlignmentWord(Qt::Alignment alignment) {
  if (alignment & Qt::AlignHCenter) return "\\qc";
  if (alignment & Qt::AlignJustify) return "\\qj";
  if (alignment & (Qt::AlignRight | Qt::AlignTrailing)) return "\\qr";
  return "\\ql";
}

}  // namespace

QByteArray TRtfWriter::Write(const QTextDocument &document) {
  TTables tables;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) tables.Add(it.fragment().charFormat());

  // No default font: text without a font of its own is read back without one.
  QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\uc1\n{\\fonttbl";
  for (int i = 0; i < tables.fonts.size(); ++i) {
    out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
    AppendEscaped(out, tables.fonts[i]);
    out += ";}";
  }
  out += "}\n{\\colortbl;";
  for (const QColor &color : tables.colors)
    out += "\\red" + QByteArray::number(color.red()) + "\\green" +
           QByteArray::number(color.green()) + "\\blue" + QByteArray::number(color.blue()) + ';';
  out += "}\n";

  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    out += "\\pard" + AlignmentWord(block.blockFormat().alignment()) + ' ';
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      out += "{\\plain";
      const QString family = TTables::Family(format);
      if (!family.isEmpty()) out += "\\f" + QByteArray::number(tables.fonts.indexOf(family));
      if (format.fontPointSize() > 0)
        out += "\\fs" + QByteArray::number(qRound(format.fontPointSize() * 2));
      if (format.fontWeight() >= QFont::DemiBold) out += "\\b";
      if (format.fontItalic()) out += "\\i";
      if (format.fontUnderline()) out += "\\ul";
      if (format.fontStrikeOut()) out += "\\strike";
      const QColor color = TTables::Color(format);
      if (color.isValid()) out += "\\cf" + QByteArray::number(tables.colors.indexOf(color) + 1);
      out += ' ';
      AppendEscaped(out, fragment.text());
      out += '}';
    }
    out += "\\par\n";
  }
  out += "}\n";
  return out;
}
