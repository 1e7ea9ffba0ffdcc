#include "PrinterChoice.h"

#include <QPrintDialog>
#include <QPrinterInfo>

bool TPrinterChoice::Setup(QWidget *parent) {
  QPrinter printer;
  Configure(printer);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Printer Setup"));
  // The choice is of a printer; which pages and how many copies is asked when printing.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
    Choose(QString(), printer.outputFileName());
  else
    Choose(printer.printerName());
  return true;
}

void TPrinterChoice::Choose(const QString &printerName, const QString &pdfFile) {
  chosen_ = true;
  printerName_ = printerName;
  pdfFile_ = pdfFile;
}

bool TPrinterChoice::Configure(QPrinter &printer) const {
  if (chosen_ && !pdfFile_.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile_);
    return true;
  }
  QString name = chosen_ ? printerName_ : QString();
  // A queue removed since it was chosen falls back to the default one.
  if (name.isEmpty() || QPrinterInfo::printerInfo(name).isNull())
    name = QPrinterInfo::defaultPrinterName();
  if (name.isEmpty()) return false;
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setPrinterName(name);
  return printer.printerName() == name;
}
