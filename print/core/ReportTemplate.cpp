#include "ReportTemplate.h"

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
