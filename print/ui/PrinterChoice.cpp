// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/PrinterChoice.h"

#include <QPrinterInfo>

#include "settings/core/RootKey.h"
#include "settings/core/SettingsError.h"

namespace {

const QString kPrinterName = QStringLiteral("PrinterName");
const QString kPaperSize = QStringLiteral("PaperSize");
const QString kOrientation = QStringLiteral("Orientation");
const QString kMargins[] = {QStringLiteral("MarginLeft"), QStringLiteral("MarginTop"),
                            QStringLiteral("MarginRight"), QStringLiteral("MarginBottom")};

QString Number(double mm) { return QString::number(mm, 'f', 1); }

// A kept page, when every part of it is there and makes sense.
std::optional<TPageSetup> ReadPage(const TRootKey &root, const QString &section) {
  TPageSetup page;
  page.size = root.ReadString(section, kPaperSize, QString());
  if (TPageSetup::PortraitSize(page.size).isEmpty()) return std::nullopt;
  const QString orientation = root.ReadString(section, kOrientation, QString());
  if (orientation != QLatin1String("portrait") && orientation != QLatin1String("landscape"))
    return std::nullopt;
  page.landscape = orientation == QLatin1String("landscape");
  double *margins[] = {&page.left, &page.top, &page.right, &page.bottom};
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    *margins[i] = root.ReadString(section, kMargins[i], QString()).toDouble(&ok);
    if (!ok || *margins[i] < 0 || *margins[i] > 100) return std::nullopt;
  }
  const QRectF content = page.ContentRect();
  if (content.width() < 10 || content.height() < 10) return std::nullopt;
  return page;
}

}  // namespace

void TPrinterChoice::Load() {
  const QString section = QString::fromLatin1(Section);
  try {
    TRootKey root;
    printerName_ = root.ReadString(section, kPrinterName, QString());
    chosen_ = !printerName_.isEmpty();
    pdfFile_.clear();
    page_ = ReadPage(root, section);
  } catch (const ESettingsError &) {
    // A value of the wrong type: that part stays unchosen, as with a missing value.
    chosen_ = false;
    page_.reset();
  }
}

bool TPrinterChoice::save(QString *error) const {
  const QString section = QString::fromLatin1(Section);
  try {
    TRootKey root;
    root.WriteString(section, kPrinterName, pdfFile_.isEmpty() ? printerName_ : QString());
    if (page_) {
      root.WriteString(section, kPaperSize, page_->size);
      root.WriteString(section, kOrientation,
                       page_->landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
      const double margins[] = {page_->left, page_->top, page_->right, page_->bottom};
      for (int i = 0; i < 4; ++i) root.WriteString(section, kMargins[i], Number(margins[i]));
    } else {
      for (const QString &name : {kPaperSize, kOrientation}) root.DeleteValue(section, name);
      for (const QString &name : kMargins) root.DeleteValue(section, name);
    }
    root.Close();
    return true;
  } catch (const ESettingsError &e) {
    if (error) *error = e.Message();
    return false;
  }
}

bool TPrinterChoice::Setup(QWidget *parent, const TPageSetup &templatePage, QString *error) {
  TPrinterSettings current;
  current.printerName = Queue();
  current.pdfFile = chosen_ ? pdfFile_ : QString();
  current.page = PageFor(templatePage);
  TfrmPrinterSetup dialog(current, templatePage, QPrinterInfo::availablePrinterNames(),
                          QPrinterInfo::defaultPrinterName(), parent);
  dialog.setObjectName(QStringLiteral("frmPrinterSetup"));
  if (dialog.exec() != QDialog::Accepted) return false;
  const TPrinterSettings chosen = dialog.Settings();
  Choose(chosen.printerName, chosen.pdfFile);
  // A page like the template's is no choice: the template's page keeps being followed.
  page_ = chosen.page == templatePage ? std::nullopt : std::optional<TPageSetup>(chosen.page);
  return save(error);
}

void TPrinterChoice::Choose(const QString &printerName, const QString &pdfFile) {
  chosen_ = true;
  printerName_ = printerName;
  pdfFile_ = pdfFile;
}

TPageSetup TPrinterChoice::PageFor(const TPageSetup &templatePage) const {
  return page_ ? *page_ : templatePage;
}

QString TPrinterChoice::Queue() const {
  if (chosen_ && !pdfFile_.isEmpty()) return {};
  // A queue removed since it was chosen falls back to the default one.
  if (chosen_ && !printerName_.isEmpty() && !QPrinterInfo::printerInfo(printerName_).isNull())
    return printerName_;
  return QPrinterInfo::defaultPrinterName();
}

bool TPrinterChoice::UseQueue(QPrinter &printer, const QString &queue) {
  if (queue.isEmpty()) return false;
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setPrinterName(queue);
  return printer.printerName() == queue;
}

bool TPrinterChoice::Configure(QPrinter &printer) const {
  if (chosen_ && !pdfFile_.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile_);
    return true;
  }
  return UseQueue(printer, Queue());
}
