// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/TemplateEditor.h"

#include <algorithm>
#include <cmath>

#include "print/core/ReportLayout.h"

TTemplateEditor::TTemplateEditor(TReportTemplate report)
    : report_(std::move(report)), original_(report_) {}

QRectF TTemplateEditor::BandRect(TBandKind kind) const {
  const QRectF content = report_.page.ContentRect();
  const TReportBand *band = report_.Band(kind);
  if (!band) return {};
  const TReportBand *header = report_.Band(TBandKind::PageHeader);
  switch (kind) {
    case TBandKind::PageHeader:
      return QRectF(content.left(), content.top(), content.width(), band->height);
    case TBandKind::Data:
      return QRectF(content.left(), content.top() + (header ? header->height : 0), content.width(),
                    band->height);
    case TBandKind::PageFooter:
      return QRectF(content.left(), content.bottom() - band->height, content.width(), band->height);
  }
  return {};
}

QRectF TTemplateEditor::SheetRect(const TSelection &s) const {
  const TReportBand *band = report_.Band(s.band);
  if (!band || s.index >= band->objects.size()) return {};
  return band->objects[s.index].rect.translated(BandRect(s.band).topLeft());
}

TPreparedPage TTemplateEditor::Sketch() const {
  TPreparedPage page;
  for (const TReportBand &band : report_.bands)
    for (const TReportObject &o : band.objects)
      PlaceObject(page.items, o, BandRect(band.kind).topLeft(), BandFit(band.kind));
  for (TPlacedItem &item : page.items) item.pageVariables = false;  // shown as written
  return page;
}

std::optional<TTemplateEditor::TSelection> TTemplateEditor::ObjectAt(QPointF p) const {
  for (auto band = report_.bands.rbegin(); band != report_.bands.rend(); ++band)
    for (size_t i = band->objects.size(); i-- > 0;) {
      const TSelection s{band->kind, i};
      QRectF r = SheetRect(s).normalized();
      if (band->objects[i].kind == TObjectKind::Line) r.adjust(-1.5, -1.5, 1.5, 1.5);
      if (r.contains(p)) return s;
    }
  return std::nullopt;
}

std::optional<TBandKind> TTemplateEditor::BandAt(QPointF p) const {
  for (const TReportBand &band : report_.bands)
    if (BandRect(band.kind).contains(p)) return band.kind;
  return std::nullopt;
}

void TTemplateEditor::Select(const std::optional<TSelection> &selection) {
  selection_ = selection;
  if (selection_) {
    const TReportBand *band = report_.Band(selection_->band);
    if (!band || selection_->index >= band->objects.size()) selection_.reset();
  }
}

TReportObject *TTemplateEditor::selected() {
  if (!selection_) return nullptr;
  TReportBand *band = report_.Band(selection_->band);
  if (!band || selection_->index >= band->objects.size()) return nullptr;
  return &band->objects[selection_->index];
}

const TReportObject *TTemplateEditor::Selected() const {
  return const_cast<TTemplateEditor *>(this)->selected();
}

void TTemplateEditor::BeginGesture() {
  inGesture_ = true;
  gestureRecorded_ = false;
}

void TTemplateEditor::EndGesture() { inGesture_ = false; }

void TTemplateEditor::record() {
  if (inGesture_ && gestureRecorded_) return;
  gestureRecorded_ = inGesture_;
  undo_.push_back({report_, selection_});
  trimUndo();
}

void TTemplateEditor::trimUndo() {
  if (undo_.size() > MaxUndo) undo_.erase(undo_.begin());
}

namespace {

// Keeps an object inside its band: no wider or taller than the band, nowhere past its edges.
void ClampToBand(TReportObject &o, double bandWidth, double bandHeight) {
  const double minSize = o.kind == TObjectKind::Text ? TTemplateEditor::MinSize : 0;
  QRectF &r = o.rect;
  r.setWidth(std::clamp(r.width(), std::min(minSize, bandWidth), bandWidth));
  r.setHeight(std::clamp(r.height(), std::min(minSize, bandHeight), bandHeight));
  r.moveLeft(std::clamp(r.left(), 0.0, bandWidth - r.width()));
  r.moveTop(std::clamp(r.top(), 0.0, bandHeight - r.height()));
}

}  // namespace

double TTemplateEditor::FreeHeight() const {
  double used = 0;
  for (const TReportBand &band : report_.bands) used += band.height;
  return std::max(0.0, report_.page.ContentRect().height() - used);
}

void TTemplateEditor::clampSelected() {
  TReportObject *o = selected();
  if (!o) return;
  ClampToBand(*o, report_.page.ContentRect().width(), report_.Band(selection_->band)->height);
}

void TTemplateEditor::MoveBy(double dx, double dy) {
  if (!selected() || (dx == 0 && dy == 0)) return;
  record();
  selected()->rect.translate(dx, dy);
  clampSelected();
}

void TTemplateEditor::ResizeBy(double dw, double dh) {
  if (!selected() || (dw == 0 && dh == 0)) return;
  record();
  QRectF &r = selected()->rect;
  r.setWidth(std::max(r.width() + dw, 0.0));
  r.setHeight(std::max(r.height() + dh, 0.0));
  clampSelected();
}

void TTemplateEditor::SetText(const QStringList &lines) {
  TReportObject *o = selected();
  if (!o || o->kind != TObjectKind::Text || o->lines == lines) return;
  record();
  selected()->lines = lines;
}

void TTemplateEditor::SetFont(const TReportFont &font) {
  TReportObject *o = selected();
  if (!o || o->font == font) return;
  record();
  selected()->font = font;
}

void TTemplateEditor::SetAlign(THAlign align) {
  TReportObject *o = selected();
  if (!o || o->kind != TObjectKind::Text || o->align == align) return;
  record();
  selected()->align = align;
}

void TTemplateEditor::SetFrame(bool frame) {
  TReportObject *o = selected();
  if (!o || o->kind != TObjectKind::Text || o->frame == frame) return;
  record();
  selected()->frame = frame;
}

void TTemplateEditor::DeleteSelected() {
  if (!selected()) return;
  record();
  TReportBand *band = report_.Band(selection_->band);
  band->objects.erase(band->objects.begin() + std::ptrdiff_t(selection_->index));
  selection_.reset();
}

TReportBand *TTemplateEditor::bandForNewObject(TBandKind kind) {
  if (TReportBand *band = report_.Band(kind)) return band->height > 0 ? band : nullptr;
  // A missing band is added with the room the page has left.
  const double room = FreeHeight();
  if (room < MinSize) return nullptr;
  TReportBand &band = report_.EnsureBand(kind);
  band.height = std::min(band.height, room);
  return &band;
}

void TTemplateEditor::AddText(TBandKind kind) {
  const TReportTemplate before = report_;
  TReportBand *band = bandForNewObject(kind);
  if (!band) return;
  undo_.push_back({before, selection_});
  trimUndo();
  TReportObject o;
  o.rect =
      QRectF(0, 0, std::min(60.0, report_.page.ContentRect().width()), std::min(6.0, band->height));
  o.lines = {QStringLiteral("Text")};
  band->objects.push_back(o);
  selection_ = TSelection{kind, band->objects.size() - 1};
}

void TTemplateEditor::AddLine(TBandKind kind) {
  const TReportTemplate before = report_;
  TReportBand *band = bandForNewObject(kind);
  if (!band) return;
  undo_.push_back({before, selection_});
  trimUndo();
  TReportObject o;
  o.kind = TObjectKind::Line;
  o.rect = QRectF(0, std::min(2.0, band->height), report_.page.ContentRect().width(), 0);
  band->objects.push_back(o);
  selection_ = TSelection{kind, band->objects.size() - 1};
}

void TTemplateEditor::SetPage(const TPageSetup &page) {
  if (page == report_.page) return;
  // What the template file would refuse to read back is refused here.
  const QRectF content = page.ContentRect();
  for (double margin : {page.left, page.top, page.right, page.bottom})
    if (margin < 0 || margin > 100) return;
  if (TPageSetup::PortraitSize(page.size).isEmpty() || content.width() < 10 ||
      content.height() < 10)
    return;
  record();
  // The bands and objects follow the new page, so they still fit it.
  report_ = FitToPage(report_, page);
}

void TTemplateEditor::SetBandHeight(TBandKind kind, double height) {
  const TReportBand *band = report_.Band(kind);
  const double current = band ? band->height : 0;
  // A band may grow only into the room the page has left.
  if (height < 0 || height == current || height > current + FreeHeight() + 0.01) return;
  record();
  TReportBand &changed = report_.EnsureBand(kind);  // a missing band is added
  changed.height = height;
  const double width = report_.page.ContentRect().width();
  for (TReportObject &o : changed.objects) ClampToBand(o, width, height);
}

void TTemplateEditor::Undo() {
  if (undo_.empty()) return;
  report_ = std::move(undo_.back().report);
  selection_ = undo_.back().selection;
  undo_.pop_back();
}
