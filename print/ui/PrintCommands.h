// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

#include "print/core/ReportLayout.h"
#include "print/ui/PrinterChoice.h"
#include "print/ui/ReportPrinter.h"

class QWidget;
class TEditHost;
class TfrmEdit;
class THolder;

// The main window's four printing commands and the report's two callbacks. The frame owns
// the setting holders PTemplate (the template's file name) and PrintFont ("Use to Print"),
// found by name; the active workspace and the current file name are asked for when needed.
class TPrintCommands : public QObject {
  Q_OBJECT

 public:
  // The report's title, and the title of its print jobs.
  static constexpr const char *ReportTitle = "Vellumix";

  TPrintCommands(QWidget *frame, TEditHost &host, std::function<TfrmEdit *()> activeEdit,
                 std::function<QString()> currentFileName);

  // File menu tags 9, 14, 10 and 13.
  void Print();
  void PrintPreview();
  // True when the user confirmed a choice.
  bool PrinterSetup();
  void CustomizePrintOut();
  // Runs the command of one of those tags; false for any other tag.
  bool Run(int tag);

  // The report's callbacks.
  void frReport1EnterRect(TReportObject &object) const;
  std::optional<QString> frReport1GetValue(const QString &name) const;
  TReportCallbacks Callbacks() const;

  // The template file as read (the user's data folder first) and as written (the user's copy
  // when there is one, else the program's folder when it may be written, else the user's).
  QString TemplateFileName() const;
  QString TemplateSaveName() const;

  TPrinterChoice &Printers() { return printers_; }

  // Prints pages of a prepared report on the chosen or default printer, and says where in the
  // status bar. With printers but no default one the user is asked before the first is used;
  // with no printer at all a PDF file is offered instead. False when nothing was printed.
  bool PrintPrepared(const TPreparedReport &report, const ReportPrinter::TPrintJob &job);

 private:
  std::optional<TReportTemplate> loadTemplate() const;
  // The template fitted to the page the user chose in Printer Setup (else its own page).
  std::optional<TReportTemplate> pageTemplate() const;
  QString templateName() const;
  bool printerOrPdf(QPrinter &printer);
  bool printTo(QPrinter &printer, const TPreparedReport &report,
               const ReportPrinter::TPrintJob &job);
  void statusNote(const QString &text) const;
  // From the preview: the print dialog for page range and copies, then printing.
  void printFromPreview(const TPreparedReport &report, QWidget *preview);

  QWidget *frame_;
  TEditHost &host_;
  std::function<TfrmEdit *()> activeEdit_;
  std::function<QString()> currentFileName_;
  TPrinterChoice printers_;
};
