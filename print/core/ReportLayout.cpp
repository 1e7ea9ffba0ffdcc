// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/ReportLayout.h"

#include <algorithm>

#include "print/core/ReportVariables.h"

// The flowing text object of the data band and where its text has got to.
struct TReportLayout::TFlow {
  TReportObject object;
  TTextMeasure measure;
  double lineHeight;
  qsizetype nextLine = 0;            // next source line to break
  QStringList pending;               // pieces of a broken source line not yet placed
  std::vector<TReportObject> after;  // data-band objects below it, placed when it ends
  double afterHeight = 0;

  explicit TFlow(const TReportObject &o)
      : object(o), measure(o.font, o.tabStop), lineHeight(std::max(measure.LineHeight(), 0.1)) {}

  bool Exhausted() const { return pending.isEmpty() && nextLine >= object.lines.size(); }
  QString TakeLine() {
    if (pending.isEmpty()) {
      pending = measure.Wrap(object.lines[nextLine++], object.rect.width());
    }
    return pending.takeFirst();
  }
};

TReportLayout::TReportLayout(const TReportTemplate &report, const TReportCallbacks &callbacks,
                             const QDateTime &now)
    : report_(report), now_(now) {
  result_.paperSize = report_.page.PaperSize();
  result_.landscape = report_.page.landscape;
  result_.paperName = report_.page.size;
  content_ = report_.page.ContentRect();
  if (const TReportBand *b = report_.Band(TBandKind::PageHeader)) headerHeight_ = b->height;
  if (const TReportBand *b = report_.Band(TBandKind::PageFooter)) footerHeight_ = b->height;
  prepareBands(callbacks);
  if (const TReportBand *b = report_.Band(TBandKind::PageHeader))
    placeBand(result_.everyPage, *b, content_.top());
  if (const TReportBand *b = report_.Band(TBandKind::PageFooter))
    placeBand(result_.everyPage, *b, content_.bottom() - footerHeight_);
}

TReportLayout::~TReportLayout() = default;

void TReportLayout::prepareBands(const TReportCallbacks &callbacks) {
  auto lookup = [&](const QString &name) -> std::optional<QString> {
    if (callbacks.getValue)
      if (std::optional<QString> v = callbacks.getValue(name)) return v;
    if (ReportVariables::IsPageVariable(name)) return QLatin1Char('[') + name + QLatin1Char(']');
    return ReportVariables::EngineValue(name, now_);
  };
  qsizetype flowIndex = -1;
  for (TReportBand &band : report_.bands) {
    for (qsizetype i = 0; i < qsizetype(band.objects.size()); ++i) {
      TReportObject &object = band.objects[size_t(i)];
      const bool flows = band.kind == TBandKind::Data && flowIndex < 0 && IsTextBodyMarker(object);
      if (callbacks.enterRect) callbacks.enterRect(object);
      if (flows) {
        flowIndex = i;
        continue;  // the text body is the user's text: no variables are expanded in it
      }
      for (QString &line : object.lines) line = ReportVariables::Expand(line, lookup);
    }
  }
  if (flowIndex < 0) return;
  // The flowing object leaves the band; objects entirely below it follow wherever its text ends.
  TReportBand &data = *report_.Band(TBandKind::Data);
  flow_ = std::make_unique<TFlow>(data.objects[size_t(flowIndex)]);
  const double flowBottom = flow_->object.rect.bottom();
  std::vector<TReportObject> stay;
  for (qsizetype i = 0; i < qsizetype(data.objects.size()); ++i) {
    const TReportObject &o = data.objects[size_t(i)];
    if (i == flowIndex) continue;
    if (o.rect.top() < flowBottom) {
      stay.push_back(o);
      continue;
    }
    TReportObject moved = o;
    moved.rect.translate(0, -flowBottom);
    flow_->afterHeight = std::max(flow_->afterHeight, moved.rect.bottom());
    flow_->after.push_back(moved);
  }
  data.objects = std::move(stay);
}

TPlacedItem::TFit BandFit(TBandKind kind) {
  return kind == TBandKind::Data ? TPlacedItem::Wrap : TPlacedItem::Elide;
}

void PlaceObject(std::vector<TPlacedItem> &items, const TReportObject &o, QPointF origin,
                 TPlacedItem::TFit fit) {
  const QRectF rect = o.rect.translated(origin);
  TPlacedItem item;
  item.rect = rect;
  item.font = o.font;
  item.lineWidth = o.lineWidth;
  if (o.kind == TObjectKind::Line) {
    item.kind = TPlacedItem::Line;
    items.push_back(item);
    return;
  }
  item.align = o.align;
  item.text = o.lines.join(u'\n');
  item.fit = fit;
  item.tabStop = o.tabStop;
  items.push_back(item);
  if (o.frame) {
    item.kind = TPlacedItem::Frame;
    item.text.clear();
    items.push_back(item);
  }
}

void TReportLayout::placeBand(std::vector<TPlacedItem> &items, const TReportBand &band,
                              double top) const {
  for (const TReportObject &o : band.objects)
    PlaceObject(items, o, QPointF(content_.left(), top), BandFit(band.kind));
}

void TReportLayout::layoutPage() {
  const bool first = result_.pages.empty();
  TPreparedPage page;
  const double bodyTop = content_.top() + headerHeight_;
  const double bodyBottom = content_.bottom() - footerHeight_;
  const TReportBand *data = report_.Band(TBandKind::Data);
  if (first && data) placeBand(page.items, *data, bodyTop);
  if (!flow_ || !data) {
    result_.pages.push_back(std::move(page));
    done_ = true;
    return;
  }
  TFlow &flow = *flow_;
  const double x = content_.left() + flow.object.rect.left();
  double y = first ? bodyTop + flow.object.rect.top() : bodyTop;
  const double start = y;
  // At least one line goes on every page, so a band too tall for its page still ends.
  while (!flow.Exhausted() && (y == start || y + flow.lineHeight <= bodyBottom)) {
    TPlacedItem item;
    item.rect = QRectF(x, y, flow.object.rect.width(), flow.lineHeight);
    item.text = flow.TakeLine();
    item.font = flow.object.font;
    item.align = flow.object.align;
    item.pageVariables = false;
    item.tabStop = flow.measure.TabStop();
    if (!item.text.isEmpty()) page.items.push_back(std::move(item));
    y += flow.lineHeight;
  }
  if (flow.object.frame && y > start) {
    TPlacedItem frame;
    frame.kind = TPlacedItem::Frame;
    frame.rect = QRectF(x, start, flow.object.rect.width(), y - start);
    frame.font = flow.object.font;
    frame.lineWidth = flow.object.lineWidth;
    page.items.push_back(frame);
  }
  if (flow.Exhausted()) {
    // What followed the text body in the data band: here when it fits, else on a page of its own.
    if (!flow.after.empty() && y + flow.afterHeight > bodyBottom && y > bodyTop) {
      result_.pages.push_back(std::move(page));
      page = TPreparedPage();
      y = bodyTop;
    }
    for (const TReportObject &o : flow.after)
      PlaceObject(page.items, o, QPointF(content_.left(), y), TPlacedItem::Wrap);
    done_ = true;
  }
  result_.pages.push_back(std::move(page));
}

bool TReportLayout::Step(int maxPages) {
  for (int i = 0; i < maxPages && !done_; ++i) layoutPage();
  return done_;
}

const TPreparedReport &TReportLayout::Finish() {
  while (!done_) layoutPage();
  return result_;
}

TPreparedReport PrepareReport(const TReportTemplate &report, const TReportCallbacks &callbacks,
                              const QDateTime &now) {
  TReportLayout layout(report, callbacks, now);
  return layout.Finish();
}
