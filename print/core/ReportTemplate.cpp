// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/ReportTemplate.h"

#include <algorithm>
#include <array>

namespace {

struct TPaper {
  const char *name;
  double width, height;
};

constexpr std::array<TPaper, 5> kPapers{{
    {"A4", 210, 297},
    {"A5", 148, 210},
    {"A3", 297, 420},
    {"Letter", 215.9, 279.4},
    {"Legal", 215.9, 355.6},
}};

}  // namespace

QStringList TPageSetup::SizeNames() {
  QStringList names;
  for (const TPaper &p : kPapers) names << QString::fromLatin1(p.name);
  return names;
}

QSizeF TPageSetup::PortraitSize(const QString &name) {
  for (const TPaper &p : kPapers)
    if (name == QLatin1String(p.name)) return {p.width, p.height};
  return {};
}

QSizeF TPageSetup::PaperSize() const {
  const QSizeF portrait = PortraitSize(size);
  return landscape ? portrait.transposed() : portrait;
}

QRectF TPageSetup::ContentRect() const {
  const QSizeF paper = PaperSize();
  return QRectF(left, top, paper.width() - left - right, paper.height() - top - bottom);
}

TReportBand *TReportTemplate::Band(TBandKind kind) {
  for (TReportBand &band : bands)
    if (band.kind == kind) return &band;
  return nullptr;
}

const TReportBand *TReportTemplate::Band(TBandKind kind) const {
  return const_cast<TReportTemplate *>(this)->Band(kind);
}

TReportBand &TReportTemplate::EnsureBand(TBandKind kind) {
  if (TReportBand *band = Band(kind)) return *band;
  TReportBand band;
  band.kind = kind;
  band.height = kind == TBandKind::Data ? 40 : 12;
  const auto at = std::find_if(bands.begin(), bands.end(),
                               [kind](const TReportBand &b) { return int(b.kind) > int(kind); });
  return *bands.insert(at, band);
}

namespace {

constexpr double kSlack = 0.01;  // mm: rounding in the file's numbers is not a misfit

double BandsHeight(const TReportTemplate &report) {
  double sum = 0;
  for (const TReportBand &band : report.bands) sum += band.height;
  return sum;
}

}  // namespace

bool ObjectFits(const TReportObject &o, double bandWidth, double bandHeight) {
  const QRectF r = o.rect.normalized();
  return r.left() >= -kSlack && r.top() >= -kSlack && r.right() <= bandWidth + kSlack &&
         r.bottom() <= bandHeight + kSlack;
}

QString FitProblem(const TReportTemplate &report) {
  const QRectF content = report.page.ContentRect();
  const double total = BandsHeight(report);
  if (total > content.height() + kSlack)
    return QStringLiteral("the bands are %1 mm tall together, the page has room for %2 mm")
        .arg(total, 0, 'f', 1)
        .arg(content.height(), 0, 'f', 1);
  for (const TReportBand &band : report.bands)
    for (const TReportObject &o : band.objects)
      if (!ObjectFits(o, content.width(), band.height))
        return QStringLiteral("an object of the %1 band does not fit inside it")
            .arg(BandKindName(band.kind));
  return {};
}

TReportTemplate FitToPage(const TReportTemplate &report, const TPageSetup &page) {
  TReportTemplate out = report;
  out.page = page;
  const QRectF from = report.page.ContentRect(), to = page.ContentRect();
  const double sx = from.width() > 0 ? to.width() / from.width() : 1;
  double edges = 0;
  for (const TReportBand &band : out.bands)
    if (band.kind != TBandKind::Data) edges += band.height;
  // Header and footer keep their size while they leave the body at least half of the page.
  const double total = BandsHeight(out);
  const double edgeScale = edges <= to.height() / 2 || total <= to.height()
                               ? 1
                               : std::min(1.0, to.height() / std::max(total, 1e-9));
  for (TReportBand &band : out.bands) {
    const double oldHeight = band.height;
    if (band.kind != TBandKind::Data)
      band.height = oldHeight * edgeScale;
    else
      band.height = std::min(oldHeight, std::max(0.0, to.height() - edges * edgeScale));
    const double sy = oldHeight > 0 ? band.height / oldHeight : 0;
    for (TReportObject &o : band.objects) {
      QRectF r = o.rect;
      r = QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
      // Rounding must not push a box past its band.
      r.setWidth(std::min(r.width(), std::max(0.0, to.width() - r.x())));
      r.setHeight(std::min(r.height(), std::max(0.0, band.height - r.y())));
      o.rect = r;
    }
  }
  return out;
}

bool IsTextBodyMarker(const TReportObject &object) {
  return object.kind == TObjectKind::Text && !object.lines.isEmpty() &&
         object.lines.first() == QLatin1String(TextBodyMarker);
}

QString BandKindName(TBandKind kind) {
  switch (kind) {
    case TBandKind::PageHeader:
      return QStringLiteral("header");
    case TBandKind::Data:
      return QStringLiteral("data");
    case TBandKind::PageFooter:
      return QStringLiteral("footer");
  }
  return {};
}

QString BandCaption(TBandKind kind) {
  switch (kind) {
    case TBandKind::PageHeader:
      return QStringLiteral("Page Header");
    case TBandKind::Data:
      return QStringLiteral("Data");
    case TBandKind::PageFooter:
      return QStringLiteral("Page Footer");
  }
  return {};
}

QString AlignName(THAlign align) {
  switch (align) {
    case THAlign::Left:
      return QStringLiteral("left");
    case THAlign::Center:
      return QStringLiteral("center");
    case THAlign::Right:
      return QStringLiteral("right");
  }
  return {};
}
