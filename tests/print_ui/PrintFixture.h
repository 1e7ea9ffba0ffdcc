// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QStringList>

#include "AppFixture.h"
#include "print/ui/PrintCommands.h"

// The real main window with a private program folder holding a copy of the shipped template,
// so a test may change, damage or remove it; PDF output read back with poppler's tools.
class PrintFixture : public AppFixture {
 public:
  static QString Run(const QString &program, const QStringList &arguments);
  // Text of each page of a PDF (pdftotext, layout kept), its page count (pdfinfo) and the
  // font names in it (pdffonts).
  static QStringList PdfPages(const QString &pdf);
  static int PdfPageCount(const QString &pdf);
  static QStringList PdfFonts(const QString &pdf);
  // pdfinfo's "Page size" of the first page ("419.528 x 595.276 pts (A5)").
  static QString PdfPageSize(const QString &pdf);
  // A page (1-based) of a PDF as a grey picture at dpi (pdftoppm).
  static QImage PdfPageImage(const QString &pdf, int page, int dpi);
  // Pixels of ink outside area (mm) on a picture of a whole sheet of paper (mm), the area grown
  // by a pixel for anti-aliasing; the two outermost pixels of the picture (the preview's sheet
  // border) do not count.
  static int InkOutside(const QImage &page, QSizeF paper, QRectF area);
  // Mean difference of two grey pictures of the same size, 0 (same) to 1.
  static double Difference(const QImage &a, const QImage &b);

 protected:
  void SetUp() override;
  void TearDown() override;

  // The main window's printing commands.
  TPrintCommands &Printing();
  // Starts the program with one untitled workspace holding text.
  TfrmEdit *StartWith(const QString &text);
  // Runs a command of the main window the way the user does, once the idle refresh has
  // enabled it; false when it stays disabled.
  bool Command(const QString &itemName);
  // A fresh PDF file name that the chosen printer writes to.
  QString PrintToPdf(const QString &name = QStringLiteral("out.pdf"));

  QString programFolder;

 private:
  QByteArray oldDataDir_;
  std::unique_ptr<TPrintCommands> own_;
};

// n numbered lines "line 1" ... joined with line breaks.
QString NumberedLines(int n, const QString &prefix = QStringLiteral("line"));
