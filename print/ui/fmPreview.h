// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

#include "print/core/ReportLayout.h"

class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolButton;

// The print preview: a modal window that prepares the report itself, shows its pages one at a
// time with page navigation and zoom (at first the page's width fills the view; Home and End
// go to the first and last page), and prints from its Print button. Pages are laid out a
// few at a time between events, so the first page shows at once and the window stays
// responsive while a long text is still being laid out.
class TfrmPreview : public QDialog {
  Q_OBJECT

 public:
  // print is called with the prepared report when the user presses Print.
  TfrmPreview(const TReportTemplate &report, const TReportCallbacks &callbacks,
              std::function<void(const TPreparedReport &)> print, QWidget *parent = nullptr);
  ~TfrmPreview() override;
  void SetPrint(std::function<void(const TPreparedReport &)> print) { print_ = std::move(print); }

  int PageCount() const;
  bool LayoutDone() const { return layout_->Done(); }
  int CurrentPage() const { return page_; }  // 1-based
  void ShowPage(int page);
  // Zoom choices as the combo box lists them: "Whole Page", "Page Width", "50%" ... "200%".
  void SetZoom(const QString &choice);
  // The image of the page shown.
  QImage PageImage() const;

 Q_SIGNALS:
  void LayoutFinished();

 protected:
  void resizeEvent(QResizeEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

 private:
  void layoutSome();
  bool fitsView() const;
  void render();
  void updateControls();
  double pixelsPerMm() const;
  void print();

  std::unique_ptr<TReportLayout> layout_;
  std::function<void(const TPreparedReport &)> print_;
  QTimer stepTimer_;
  int page_ = 1;
  QToolButton *btnFirst_, *btnPrior_, *btnNext_, *btnLast_, *btnPrint_;
  QSpinBox *edtPage_;
  QLabel *lblPages_;
  QComboBox *cbxZoom_;
  QScrollArea *scrPage_;
  QLabel *imgPage_;
};
