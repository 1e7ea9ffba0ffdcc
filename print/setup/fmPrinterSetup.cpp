// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/setup/fmPrinterSetup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/ui/MessageBox.h"

namespace {

// The printer list's entry for writing a PDF file; queues carry their name as data.
const QString kPdfEntry = QStringLiteral("PDF file");

QDoubleSpinBox *MarginBox(const QString &name, const QString &side, QWidget *parent) {
  auto *box = new QDoubleSpinBox(parent);
  box->setObjectName(name);
  box->setAccessibleName(side + QStringLiteral(" margin"));
  box->setRange(0, 100);
  box->setDecimals(1);
  box->setSingleStep(1);
  box->setSuffix(QStringLiteral(" mm"));
  return box;
}

}  // namespace

TfrmPrinterSetup::TfrmPrinterSetup(const TPrinterSettings &current, const TPageSetup &templatePage,
                                   const QStringList &queues, const QString &defaultQueue,
                                   QWidget *parent)
    : QDialog(parent), templatePage_(templatePage) {
  setWindowTitle(QStringLiteral("Printer Setup"));
  setModal(true);
  setProperty("HelpTopic", QStringLiteral("PrinterSetupDialog"));  // F1

  auto *printerBox = new QGroupBox(QStringLiteral("Printer"), this);
  auto *printerForm = new QFormLayout(printerBox);
  cbxPrinter_ = new QComboBox(this);
  cbxPrinter_->setObjectName(QStringLiteral("cbxPrinter"));
  for (const QString &queue : queues)
    cbxPrinter_->addItem(queue == defaultQueue ? queue + QStringLiteral(" (default)") : queue,
                         queue);
  cbxPrinter_->addItem(kPdfEntry, QString());
  printerForm->addRow(QStringLiteral("&Name:"), cbxPrinter_);
  edtPdfFile_ = new QLineEdit(current.pdfFile, this);
  edtPdfFile_->setObjectName(QStringLiteral("edtPdfFile"));
  edtPdfFile_->setAccessibleName(QStringLiteral("PDF file name"));
  btnBrowse_ = new QPushButton(QStringLiteral("&Browse..."), this);
  btnBrowse_->setObjectName(QStringLiteral("btnBrowse"));
  auto *fileRow = new QHBoxLayout;
  fileRow->addWidget(edtPdfFile_, 1);
  fileRow->addWidget(btnBrowse_);
  printerForm->addRow(QStringLiteral("File:"), fileRow);

  auto *pageBox = new QGroupBox(QStringLiteral("Page"), this);
  auto *pageForm = new QFormLayout(pageBox);
  cbxPaper_ = new QComboBox(this);
  cbxPaper_->setObjectName(QStringLiteral("cbxPaper"));
  cbxPaper_->addItems(TPageSetup::SizeNames());
  pageForm->addRow(QStringLiteral("Paper &size:"), cbxPaper_);
  radPortrait_ = new QRadioButton(QStringLiteral("Po&rtrait"), this);
  radPortrait_->setObjectName(QStringLiteral("radPortrait"));
  radLandscape_ = new QRadioButton(QStringLiteral("&Landscape"), this);
  radLandscape_->setObjectName(QStringLiteral("radLandscape"));
  auto *orientation = new QHBoxLayout;
  orientation->addWidget(radPortrait_);
  orientation->addWidget(radLandscape_);
  orientation->addStretch();
  pageForm->addRow(QStringLiteral("Orientation:"), orientation);
  edtLeft_ = MarginBox(QStringLiteral("edtLeft"), QStringLiteral("Left"), this);
  edtRight_ = MarginBox(QStringLiteral("edtRight"), QStringLiteral("Right"), this);
  edtTop_ = MarginBox(QStringLiteral("edtTop"), QStringLiteral("Top"), this);
  edtBottom_ = MarginBox(QStringLiteral("edtBottom"), QStringLiteral("Bottom"), this);
  auto *leftRight = new QHBoxLayout;
  leftRight->addWidget(edtLeft_);
  leftRight->addWidget(edtRight_);
  auto *topBottom = new QHBoxLayout;
  topBottom->addWidget(edtTop_);
  topBottom->addWidget(edtBottom_);
  pageForm->addRow(QStringLiteral("Margins left, right:"), leftRight);
  pageForm->addRow(QStringLiteral("Margins top, bottom:"), topBottom);
  auto *btnTemplate = new QPushButton(QStringLiteral("&Template Layout"), this);
  btnTemplate->setObjectName(QStringLiteral("btnTemplate"));
  btnTemplate->setToolTip(QStringLiteral("The paper and margins of the print template"));
  btnTemplate->setAutoDefault(false);
  pageForm->addRow(QString(), btnTemplate);

  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  auto *main = new QVBoxLayout(this);
  main->addWidget(printerBox);
  main->addWidget(pageBox);
  main->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::accepted, this, &TfrmPrinterSetup::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(btnTemplate, &QPushButton::clicked, this, [this] { showPage(templatePage_); });
  connect(btnBrowse_, &QPushButton::clicked, this, [this] { browse(); });
  connect(cbxPrinter_, &QComboBox::currentIndexChanged, this, [this] { updatePdfRow(); });

  // The current choice: a PDF file, the chosen queue, else the default queue.
  int index = current.pdfFile.isEmpty() ? -1 : cbxPrinter_->count() - 1;
  if (index < 0 && !current.printerName.isEmpty())
    index = cbxPrinter_->findData(current.printerName);
  if (index < 0) index = cbxPrinter_->findData(defaultQueue);
  cbxPrinter_->setCurrentIndex(std::max(index, 0));
  showPage(current.page);
  updatePdfRow();
}

void TfrmPrinterSetup::showPage(const TPageSetup &page) {
  cbxPaper_->setCurrentText(page.size);
  (page.landscape ? radLandscape_ : radPortrait_)->setChecked(true);
  edtLeft_->setValue(page.left);
  edtTop_->setValue(page.top);
  edtRight_->setValue(page.right);
  edtBottom_->setValue(page.bottom);
}

void TfrmPrinterSetup::updatePdfRow() {
  const bool pdf = cbxPrinter_->currentIndex() == cbxPrinter_->count() - 1;
  edtPdfFile_->setEnabled(pdf);
  btnBrowse_->setEnabled(pdf);
}

void TfrmPrinterSetup::browse() {
  const QString file =
      QFileDialog::getSaveFileName(this, QStringLiteral("Print to PDF File"), edtPdfFile_->text(),
                                   QStringLiteral("PDF files (*.pdf)"));
  if (!file.isEmpty()) edtPdfFile_->setText(file);
}

TPrinterSettings TfrmPrinterSetup::Settings() const {
  TPrinterSettings s;
  if (cbxPrinter_->currentIndex() == cbxPrinter_->count() - 1)
    s.pdfFile = edtPdfFile_->text().trimmed();
  else
    s.printerName = cbxPrinter_->currentData().toString();
  s.page.size = cbxPaper_->currentText();
  s.page.landscape = radLandscape_->isChecked();
  s.page.left = edtLeft_->value();
  s.page.top = edtTop_->value();
  s.page.right = edtRight_->value();
  s.page.bottom = edtBottom_->value();
  return s;
}

void TfrmPrinterSetup::accept() {
  const TPrinterSettings s = Settings();
  QString problem;
  if (cbxPrinter_->currentIndex() == cbxPrinter_->count() - 1 && s.pdfFile.isEmpty())
    problem = QStringLiteral("Please enter the name of the PDF file to print to.");
  const QRectF content = s.page.ContentRect();
  if (content.width() < 10 || content.height() < 10)
    problem = QStringLiteral("The margins leave no room to print on this paper.");
  if (!problem.isEmpty()) {
    MessageBox::Show(this, MessageBox::MsgHeader() + problem, TMsgKind::Warning, TMsgButtons::Ok);
    return;
  }
  QDialog::accept();
}
