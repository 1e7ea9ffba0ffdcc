// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPrinter>
#include <QString>
#include <optional>

#include "print/setup/fmPrinterSetup.h"

class QWidget;

// The printer and page later prints use, as chosen in Printer Setup: a print queue (else the
// system's default queue) or a PDF file, and a paper size, orientation and margins that win
// over the print template's page. The queue and the page are kept in the settings' "Print"
// section, so they last from one run to the next; a PDF file is chosen for the run only.
class TPrinterChoice {
 public:
  static constexpr const char *Section = "Print";

  // Reads the kept choice; values that are damaged or missing leave that part unchosen.
  void Load();
  // The Printer Setup dialog with the current choice (the template's page when no page was
  // chosen). OK keeps the choice and writes it to the settings; true when confirmed. error is
  // set when the choice could not be written.
  bool Setup(QWidget *parent, const TPageSetup &templatePage, QString *error);
  // Keeps a choice for the run: a print queue by name, or (pdfFile not empty) a PDF file.
  void Choose(const QString &printerName, const QString &pdfFile = {});
  // Keeps a page for the run; nothing follows the template's page again.
  void ChoosePage(const std::optional<TPageSetup> &page) { page_ = page; }
  bool HasChoice() const { return chosen_; }

  // The page to print on: the chosen one, else the template's.
  TPageSetup PageFor(const TPageSetup &templatePage) const;
  // The queue prints go to: the chosen one while it exists, else the system's default; empty
  // when there is neither (or a PDF file is chosen).
  QString Queue() const;
  // Points printer at the chosen PDF file or at Queue(); false when there is neither.
  bool Configure(QPrinter &printer) const;
  // Points printer at a queue; false when the queue cannot be used.
  static bool UseQueue(QPrinter &printer, const QString &queue);

 private:
  bool save(QString *error) const;

  bool chosen_ = false;
  QString printerName_;
  QString pdfFile_;
  std::optional<TPageSetup> page_;
};
