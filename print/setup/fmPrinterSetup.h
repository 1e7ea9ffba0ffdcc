// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "print/core/ReportTemplate.h"

class QButtonGroup;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// What Printer Setup chooses: a print queue (or a PDF file) and the page the print-outs use.
struct TPrinterSettings {
  QString printerName;  // a print queue; empty with pdfFile set: a PDF file
  QString pdfFile;
  TPageSetup page;

  bool operator==(const TPrinterSettings &) const = default;
};

// The Printer Setup dialog: the printer (the system's print queues, or a PDF file), paper size,
// orientation and margins. It opens with the current choice; "Template Layout" puts back the
// page of the print template. OK keeps the choice (Settings()), Cancel drops it.
class TfrmPrinterSetup : public QDialog {
  Q_OBJECT

 public:
  // queues: the system's print queues, the default one named by defaultQueue.
  TfrmPrinterSetup(const TPrinterSettings &current, const TPageSetup &templatePage,
                   const QStringList &queues, const QString &defaultQueue,
                   QWidget *parent = nullptr);

  TPrinterSettings Settings() const;

  void accept() override;

 private:
  void showPage(const TPageSetup &page);
  void updatePdfRow();
  void browse();

  TPageSetup templatePage_;
  QComboBox *cbxPrinter_, *cbxPaper_;
  QLineEdit *edtPdfFile_;
  QPushButton *btnBrowse_;
  QRadioButton *radPortrait_, *radLandscape_;
  QDoubleSpinBox *edtLeft_, *edtTop_, *edtRight_, *edtBottom_;
};
