// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

#include "print/core/PreparedReport.h"
#include "print/core/ReportTemplate.h"

// The designer's model: a template being edited, the selected object, and undo of the last
// changes. No widgets: the designer window draws it and forwards the user's gestures.
class TTemplateEditor {
 public:
  struct TSelection {
    TBandKind band;
    size_t index;
    bool operator==(const TSelection &) const = default;
  };
  static constexpr size_t MaxUndo = 100;
  static constexpr double MinSize = 1;  // mm: a text box never shrinks below this

  explicit TTemplateEditor(TReportTemplate report);

  const TReportTemplate &Template() const { return report_; }

  // Where a band sits on the sheet (mm), as the first printed page has it.
  QRectF BandRect(TBandKind kind) const;
  // An object's box on the sheet.
  QRectF SheetRect(const TSelection &object) const;
  // The template as one page for the designer to draw: every band at its place, texts as
  // written (variables not expanded).
  TPreparedPage Sketch() const;
  // The topmost object whose box (a line: a few millimetres around it) holds the point.
  std::optional<TSelection> ObjectAt(QPointF sheetPoint) const;
  // The band under a point, if any.
  std::optional<TBandKind> BandAt(QPointF sheetPoint) const;

  const std::optional<TSelection> &Selection() const { return selection_; }
  void Select(const std::optional<TSelection> &selection);
  // The selected object; nullptr when nothing is selected.
  const TReportObject *Selected() const;

  // A gesture (a mouse drag) is one undo step however many moves it makes.
  void BeginGesture();
  void EndGesture();

  // Edits of the selected object (nothing happens without a selection). Moves and sizes
  // keep the object inside its band.
  void MoveBy(double dx, double dy);
  void ResizeBy(double dw, double dh);
  void SetText(const QStringList &lines);
  void SetFont(const TReportFont &font);  // name, size, style and colour
  void SetAlign(THAlign align);
  void SetFrame(bool frame);
  void DeleteSelected();
  // Adds an object to a band (created when missing, when the page has room for it) and
  // selects it.
  void AddText(TBandKind band);
  void AddLine(TBandKind band);
  // The bands and objects are fitted to the new page.
  void SetPage(const TPageSetup &page);
  // A band that is missing is added when given a height. A band grows only into the room the
  // page has left; a band made smaller takes its objects along.
  void SetBandHeight(TBandKind band, double height);
  // Height (mm) inside the margins that no band takes.
  double FreeHeight() const;

  bool CanUndo() const { return !undo_.empty(); }
  void Undo();
  // True once anything was changed (and not all undone).
  bool Modified() const { return report_ != original_; }

 private:
  TReportObject *selected();
  void record();
  void trimUndo();
  void clampSelected();
  TReportBand *bandForNewObject(TBandKind kind);

  TReportTemplate report_;
  TReportTemplate original_;
  std::optional<TSelection> selection_;
  struct TSnapshot {
    TReportTemplate report;
    std::optional<TSelection> selection;
  };
  std::vector<TSnapshot> undo_;
  bool inGesture_ = false;
  bool gestureRecorded_ = false;
};
