// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <functional>
#include <memory>
#include <optional>

#include "print/core/PreparedReport.h"
#include "print/core/TextMeasure.h"

// The program's answers while a report is prepared.
struct TReportCallbacks {
  // Called for each object before it is laid out; may change its text lines and font.
  std::function<void(TReportObject &object)> enterRect;
  // Asked for each bracketed variable name; no answer leaves it to the engine.
  std::function<std::optional<QString>(const QString &name)> getValue;
};

// Lays out the pages of a report from its template: the page header and footer on every
// page, the data band once, and the text-body object flowed over as many pages as its text
// needs. Work is done a few pages at a time (Step) so a window can show the first pages and
// stay responsive while the rest are laid out.
class TReportLayout {
 public:
  TReportLayout(const TReportTemplate &report, const TReportCallbacks &callbacks,
                const QDateTime &now = QDateTime::currentDateTime());
  ~TReportLayout();

  // Lays out up to maxPages more pages; true once every page is laid out.
  bool Step(int maxPages);
  bool Done() const { return done_; }
  // Lays out everything that is left.
  const TPreparedReport &Finish();
  const TPreparedReport &Report() const { return result_; }

 private:
  struct TFlow;
  void prepareBands(const TReportCallbacks &callbacks);
  void placeBand(std::vector<TPlacedItem> &items, const TReportBand &band, double top) const;
  void layoutPage();

  TReportTemplate report_;
  QDateTime now_;
  TPreparedReport result_;
  QRectF content_;
  double headerHeight_ = 0, footerHeight_ = 0;
  std::unique_ptr<TFlow> flow_;
  bool done_ = false;
};

// Places one template object with its band's top left corner at origin: a text box (and its
// frame) or a line.
void PlaceObject(std::vector<TPlacedItem> &items, const TReportObject &object, QPointF origin,
                 TPlacedItem::TFit fit);
// How the texts of a band's boxes are fitted: header and footer shorten, the data band wraps.
TPlacedItem::TFit BandFit(TBandKind kind);

// Prepares every page at once.
TPreparedReport PrepareReport(const TReportTemplate &report, const TReportCallbacks &callbacks,
                              const QDateTime &now = QDateTime::currentDateTime());
