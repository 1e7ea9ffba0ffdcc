#include "TextMeasure.h"

namespace {

constexpr int kReferenceDpi = 600;

QImage ReferenceDevice() {
  QImage image(1, 1, QImage::Format_RGB32);
  const int dotsPerMeter = qRound(kReferenceDpi / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  return image;
}

}  // namespace

QString ExpandTabs(const QString &line) {
  if (!line.contains(u'\t')) return line;
  QString out;
  qsizetype column = 0;
  for (QChar c : line) {
    if (c == u'\t') {
      out += QString(8 - column % 8, u' ');
      column += 8 - column % 8;
      continue;
    }
    out += c;
    column = c == u'\n' ? 0 : column + 1;
  }
  return out;
}

TTextMeasure::TTextMeasure(const TReportFont &font)
    : device_(ReferenceDevice()),
      font_(ToQFont(font)),
      metrics_(font_, &device_),
      mmPerPixel_(25.4 / kReferenceDpi) {}

QFont TTextMeasure::ToQFont(const TReportFont &font) {
  QFont f(font.name);
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  return f;
}

double TTextMeasure::LineHeight() const { return metrics_.lineSpacing() * mmPerPixel_; }

double TTextMeasure::Width(const QString &text) const {
  return metrics_.horizontalAdvance(text) * mmPerPixel_;
}

double TTextMeasure::charWidth(QChar c) const {
  auto it = charWidths_.constFind(c);
  if (it != charWidths_.cend()) return *it;
  const double w = metrics_.horizontalAdvance(c) * mmPerPixel_;
  charWidths_.insert(c, w);
  return w;
}

QStringList TTextMeasure::Wrap(const QString &rawLine, double width) const {
  const QString line = ExpandTabs(rawLine);
  if (line.isEmpty() || Width(line) <= width) return {line};
  QStringList out;
  QString current;
  double currentWidth = 0;
  const double blank = Width(QStringLiteral(" "));
  const QStringList words = line.split(u' ');
  for (qsizetype i = 0; i < words.size(); ++i) {
    const QString &word = words[i];
    const double w = word.isEmpty() ? 0 : Width(word);
    const double needed = (i == 0 ? 0 : blank) + w;
    if (i > 0 && currentWidth + needed <= width) {
      current += u' ' + word;
      currentWidth += needed;
      continue;
    }
    if (i > 0) {  // the blank that breaks the line goes with it
      out << current;
      current.clear();
      currentWidth = 0;
    }
    if (w <= width) {
      current = word;
      currentWidth = w;
    } else {
      breakWord(word, width, out, current, currentWidth);
    }
  }
  out << current;
  return out;
}

void TTextMeasure::breakWord(const QString &word, double width, QStringList &out, QString &current,
                             double &currentWidth) const {
  for (qsizetype i = 0; i < word.size(); ++i) {
    // A surrogate pair is one character and stays together.
    const qsizetype n = (word[i].isHighSurrogate() && i + 1 < word.size()) ? 2 : 1;
    const double w = n == 2 ? Width(word.mid(i, 2)) : charWidth(word[i]);
    if (!current.isEmpty() && currentWidth + w > width) {
      out << current;
      current.clear();
      currentWidth = 0;
    }
    current += word.mid(i, n);
    currentWidth += w;
    i += n - 1;
  }
}
