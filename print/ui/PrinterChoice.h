#pragma once

#include <QPrinter>
#include <QString>

class QWidget;

// The printer later prints use: the one chosen in Printer Setup (kept for the run), else the
// system's default print queue. Printing to a PDF file counts as a choice too.
class TPrinterChoice {
 public:
  // The system's printer set-up dialog, titled "Printer Setup"; its choice is kept when the
  // user confirms it. True when confirmed.
  bool Setup(QWidget *parent);
  // Keeps a choice: a print queue by name, or (pdfFile not empty) a PDF file.
  void Choose(const QString &printerName, const QString &pdfFile = {});
  bool HasChoice() const { return chosen_; }

  // Points printer at the chosen queue or file, else at the default queue; false when there is
  // no printer at all.
  bool Configure(QPrinter &printer) const;

 private:
  bool chosen_ = false;
  QString printerName_;
  QString pdfFile_;
};
