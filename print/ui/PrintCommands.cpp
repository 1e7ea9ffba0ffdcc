// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PrintCommands.h"

#include <QFileDialog>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QStatusBar>

#include "documents/ui/EditHost.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/core/Folders.h"
#include "platform/gui/EditorFont.h"
#include "platform/ui/MessageBox.h"
#include "print/core/TemplateFile.h"
#include "print/ui/fmDesigner.h"
#include "print/ui/fmPreview.h"
#include "settings/ui/Holder.h"

namespace {

constexpr qsizetype kMaxFontName = 32;
constexpr int kNoteMilliseconds = 10000;

double PointSize(const QFont &font, const QWidget *widget) {
  if (font.pointSizeF() > 0) return font.pointSizeF();
  return font.pixelSize() * 72.0 / widget->logicalDpiY();
}

// Millimetres between the tab stops of the workspace, at the printed size: the stops are as
// far apart, measured in the font's size, as on the screen.
double TabStop(const TTextView &memo, double printPoints) {
  const QFont &font = memo.font();
  const double emPixels =
      font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * memo.logicalDpiY() / 72.0;
  if (emPixels <= 0) return 0;
  return memo.tabStopDistance() / emPixels * printPoints * 25.4 / 72.0;
}

}  // namespace

TPrintCommands::TPrintCommands(QWidget *frame, TEditHost &host,
                               std::function<TfrmEdit *()> activeEdit,
                               std::function<QString()> currentFileName)
    : QObject(frame),
      frame_(frame),
      host_(host),
      activeEdit_(std::move(activeEdit)),
      currentFileName_(std::move(currentFileName)) {
  printers_.Load();
}

bool TPrintCommands::Run(int tag) {
  switch (tag) {
    case 9:
      Print();
      return true;
    case 10:
      PrinterSetup();
      return true;
    case 13:
      CustomizePrintOut();
      return true;
    case 14:
      PrintPreview();
      return true;
    default:
      return false;
  }
}

void TPrintCommands::frReport1EnterRect(TReportObject &object) const {
  if (object.kind != TObjectKind::Text || object.lines.isEmpty() ||
      object.lines.first() != QLatin1String(TextBodyMarker))
    return;
  TfrmEdit *workspace = activeEdit_ ? activeEdit_() : nullptr;
  if (!workspace) return;
  const TRichEdit *memo = workspace->mmoMemo();
  const THolder *printFont = frame_->findChild<THolder *>(QStringLiteral("PrintFont"));
  if (printFont && printFont->Checked()) {
    const QFont font = memo->font();
    object.font.name = EditorFont::ShownFont(font).family().left(kMaxFontName);
    object.font.size = PointSize(font, memo);
    object.font.color = memo->FontColor();
  }
  object.tabStop = TabStop(*memo, object.font.size);
  // The document's own text (no-break spaces stay), one entry per line.
  object.lines = memo->Text().split(memo->LineEnd());
}

std::optional<QString> TPrintCommands::frReport1GetValue(const QString &name) const {
  if (name == QLatin1String("Text File Name"))
    return currentFileName_ ? currentFileName_() : QString();
  return std::nullopt;
}

TReportCallbacks TPrintCommands::Callbacks() const {
  return {[this](TReportObject &o) { frReport1EnterRect(o); },
          [this](const QString &name) { return frReport1GetValue(name); }};
}

QString TPrintCommands::templateName() const {
  const THolder *holder = frame_->findChild<THolder *>(QStringLiteral("PTemplate"));
  const QString name = holder ? holder->Caption() : QString();
  return name.isEmpty() ? QStringLiteral("notepad.frf") : name;
}

QString TPrintCommands::TemplateFileName() const { return Folders::ReadablePathOf(templateName()); }

QString TPrintCommands::TemplateSaveName() const {
  // The customised copy is written where it was read from when that is the user's own copy,
  // so the next print reads the change.
  QString read = TemplateFileName();
  if (read.startsWith(Folders::UserDataFolder())) return read;
  return Folders::WritableFolderFor(templateName()) + templateName();
}

std::optional<TReportTemplate> TPrintCommands::loadTemplate() const {
  QString error;
  std::optional<TReportTemplate> report = TemplateFile::Load(TemplateFileName(), &error);
  if (!report) MessageBox::ShowError(frame_, error);
  return report;
}

std::optional<TReportTemplate> TPrintCommands::pageTemplate() const {
  const std::optional<TReportTemplate> report = loadTemplate();
  if (!report) return std::nullopt;
  return FitToPage(*report, printers_.PageFor(report->page));
}

void TPrintCommands::statusNote(const QString &text) const {
  if (auto *window = qobject_cast<QMainWindow *>(frame_))
    window->statusBar()->showMessage(u' ' + text, kNoteMilliseconds);
}

bool TPrintCommands::printerOrPdf(QPrinter &printer) {
  if (printers_.Configure(printer)) return true;
  const QStringList queues = QPrinterInfo::availablePrinterNames();
  if (!queues.isEmpty()) {
    // Printers but no default one: the first only when the user agrees, else the choice.
    TMsgResult answer;
    {
      const TTopMostPause pause(host_);
      answer = MessageBox::Show(
          frame_,
          MessageBox::MsgHeader() +
              QStringLiteral("No printer is set as the default on this system.\r"
                             "Print on \"%1\"?\r\rChoose No to pick a printer in Printer Setup.")
                  .arg(queues.first()),
          TMsgKind::Confirmation, TMsgButtons::YesNoCancel);
    }
    if (answer == TMsgResult::Yes) return TPrinterChoice::UseQueue(printer, queues.first());
    if (answer == TMsgResult::No && PrinterSetup()) return printers_.Configure(printer);
    return false;
  }
  const TTopMostPause pause(host_);
  if (MessageBox::Show(
          frame_,
          MessageBox::MsgHeader() +
              QStringLiteral("No printer is set up on this system.\r"
                             "Do you want to save the print-out as a PDF file instead?"),
          TMsgKind::Confirmation, TMsgButtons::YesNo) != TMsgResult::Yes)
    return false;
  const QString base =
      Folders::FileNameOf(currentFileName_ ? currentFileName_().trimmed() : QString());
  const QString suggested =
      Folders::Home() + (base.isEmpty() ? QStringLiteral("untitled") : base.section(u'.', 0, 0)) +
      QStringLiteral(".pdf");
  const QString file = QFileDialog::getSaveFileName(frame_, QStringLiteral("Save Print-Out As"),
                                                    suggested, QStringLiteral("PDF files (*.pdf)"));
  if (file.isEmpty()) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  return true;
}

bool TPrintCommands::PrintPrepared(const TPreparedReport &report,
                                   const ReportPrinter::TPrintJob &job) {
  QPrinter printer(QPrinter::HighResolution);
  return printerOrPdf(printer) && printTo(printer, report, job);
}

bool TPrintCommands::printTo(QPrinter &printer, const TPreparedReport &report,
                             const ReportPrinter::TPrintJob &job) {
  QString error;
  if (!ReportPrinter::Print(report, printer, job, &error)) {
    MessageBox::ShowError(frame_, error);
    return false;
  }
  // Where the pages went, since no dialog asked.
  const int pages = int(ReportPrinter::PageOrder(int(report.pages.size()), job).size());
  const QString count =
      pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
  statusNote(printer.outputFormat() == QPrinter::PdfFormat
                 ? QStringLiteral("Printed %1 to %2").arg(count, printer.outputFileName())
                 : QStringLiteral("Printed %1 on %2").arg(count, printer.printerName()));
  return true;
}

void TPrintCommands::Print() {
  const std::optional<TReportTemplate> report = loadTemplate();
  if (!report) return;
  // The printer first: choosing one may choose the page too.
  QPrinter printer(QPrinter::HighResolution);
  if (!printerOrPdf(printer)) return;
  const TPreparedReport prepared =
      PrepareReport(FitToPage(*report, printers_.PageFor(report->page)), Callbacks());
  ReportPrinter::TPrintJob job;
  job.lastPage = int(prepared.pages.size());  // every prepared page
  job.title = QString::fromLatin1(ReportTitle);
  printTo(printer, prepared, job);
}

void TPrintCommands::printFromPreview(const TPreparedReport &report, QWidget *preview) {
  QPrinter printer(QPrinter::HighResolution);
  printers_.Configure(printer);
  printer.setFromTo(1, int(report.pages.size()));
  QPrintDialog dialog(&printer, preview);
  dialog.setMinMax(1, int(report.pages.size()));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                    QAbstractPrintDialog::PrintCollateCopies);
  if (dialog.exec() != QDialog::Accepted) return;
  ReportPrinter::TPrintJob job;
  const bool range = printer.printRange() == QPrinter::PageRange;
  job.firstPage = range ? printer.fromPage() : 1;
  job.lastPage = range ? printer.toPage() : int(report.pages.size());
  job.copies = printer.copyCount();
  job.collate = printer.collateCopies();
  job.title = QString::fromLatin1(ReportTitle);
  QString error;
  if (!ReportPrinter::Print(report, printer, job, &error)) MessageBox::ShowError(preview, error);
}

void TPrintCommands::PrintPreview() {
  const TTopMostPause pause(host_);
  const std::optional<TReportTemplate> report = pageTemplate();
  if (!report) return;
  TfrmPreview preview(*report, Callbacks(), nullptr, frame_);
  preview.setObjectName(QStringLiteral("frmPreview"));
  TfrmPreview *self = &preview;
  preview.SetPrint(
      [this, self](const TPreparedReport &prepared) { printFromPreview(prepared, self); });
  preview.exec();
}

bool TPrintCommands::PrinterSetup() {
  const TTopMostPause pause(host_);
  // The template's page is what the dialog offers until the user chooses another; a template
  // that cannot be read is reported when printing, here the usual page stands in for it.
  const std::optional<TReportTemplate> report = TemplateFile::Load(TemplateFileName(), nullptr);
  QString error;
  const bool chosen = printers_.Setup(frame_, report ? report->page : TPageSetup(), &error);
  if (!error.isEmpty()) MessageBox::ShowError(frame_, error);
  return chosen;
}

void TPrintCommands::CustomizePrintOut() {
  const std::optional<TReportTemplate> report = loadTemplate();
  if (!report) return;
  TfrmDesigner designer(*report, frame_);
  designer.setObjectName(QStringLiteral("frmDesigner"));
  if (designer.exec() != QDialog::Accepted) return;  // Cancel keeps the file as it was
  QString error;
  if (!TemplateFile::Save(TemplateSaveName(), designer.Template(), &error))
    MessageBox::ShowError(frame_, error);
}
