// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/TextMeasure.h"

#include <QHash>
#include <QTextLayout>

namespace {

constexpr int kReferenceDpi = 600;
// Breaking leaves this much room (mm), so rounding at another resolution cannot reach the edge.
constexpr double kBreakSlack = 0.05;

QImage ReferenceDevice() {
  QImage image(1, 1, QImage::Format_RGB32);
  const int dotsPerMeter = qRound(kReferenceDpi / 0.0254);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  return image;
}

}  // namespace

TTextMeasure::TTextMeasure(const TReportFont &font, double tabStop)
    : device_(ReferenceDevice()),
      font_(ToQFont(font)),
      metrics_(font_, &device_),
      mmPerPixel_(25.4 / kReferenceDpi),
      tabStop_(tabStop > 0 ? tabStop : 8 * metrics_.horizontalAdvance(u' ') * mmPerPixel_) {
  option_.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  option_.setTabStopDistance(TabDistance(&device_, std::max(pixels(tabStop_), 1.0)));
}

double TTextMeasure::TabDistance(const QPaintDevice *device, double tabStopPixels) {
  // Measured once per resolution: how far a tab of a known distance reaches on the device.
  static QHash<int, double> scales;
  const int dpi = device->logicalDpiX();
  auto it = scales.constFind(dpi);
  if (it == scales.cend()) {
    constexpr double probe = 1000;
    QTextLayout layout(QStringLiteral("\tx"), QFont(), device);
    QTextOption option;
    option.setTabStopDistance(probe);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    double reached = probe;
    if (line.isValid()) {
      line.setLineWidth(1e9);
      reached = line.cursorToX(1);
    }
    layout.endLayout();
    it = scales.insert(dpi, reached > 0 ? reached / probe : 1);
  }
  return tabStopPixels / *it;
}

QFont TTextMeasure::ToQFont(const TReportFont &font) {
  QFont f(font.name);
  f.setPointSizeF(font.size);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setKerning(false);  // a piece of a broken line is as wide alone as inside its line
  return f;
}

double TTextMeasure::LineHeight() const { return metrics_.lineSpacing() * mmPerPixel_; }

double TTextMeasure::Width(const QString &text) const {
  if (!text.contains(u'\t')) return metrics_.horizontalAdvance(text) * mmPerPixel_;
  QTextLayout layout(text, font_, &device_);
  QTextOption single = option_;
  single.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(single);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  double width = 0;
  if (line.isValid()) {
    line.setLineWidth(1e9);
    width = line.cursorToX(int(text.size()));
  }
  layout.endLayout();
  return width * mmPerPixel_;
}

QStringList TTextMeasure::Wrap(const QString &text, double width) const {
  const double room = std::max(width - kBreakSlack, 0.0);
  if (text.isEmpty() || Width(text) <= room) return {text};
  QTextLayout layout(text, font_, &device_);
  layout.setTextOption(option_);
  layout.beginLayout();
  QStringList out;
  const double roomPixels = pixels(room);
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(roomPixels);
    QString piece = text.mid(line.textStart(), line.textLength());
    out << piece;
  }
  layout.endLayout();
  if (out.isEmpty()) out << text;
  // The blanks and tabs that end a piece are the break itself (or, at the end, not to be seen).
  for (QString &piece : out)
    while (piece.size() > 1 && (piece.back() == u' ' || piece.back() == u'\t')) piece.chop(1);
  return out;
}

QString TTextMeasure::Elide(const QString &text, double width) const {
  const double room = std::max(width - kBreakSlack, 0.0);
  if (Width(text) <= room) return text;
  const QString ellipsis(QChar(0x2026));
  const qsizetype slash = text.lastIndexOf(u'/');
  if (slash > 0) {
    const QString tail = text.mid(slash);
    const double left = room - Width(tail);
    if (left > Width(ellipsis)) {
      const QString head = metrics_.elidedText(text.left(slash), Qt::ElideRight, pixels(left));
      if (Width(head + tail) <= room) return head + tail;
    }
  }
  return metrics_.elidedText(text, Qt::ElideMiddle, pixels(room));
}
