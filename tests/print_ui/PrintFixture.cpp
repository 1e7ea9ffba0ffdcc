// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrintFixture.h"

#include <QAction>
#include <QFile>
#include <QProcess>

#include "platform/core/Folders.h"

namespace {
int counter = 0;
}

void PrintFixture::SetUp() {
  // Each test starts from the default settings (fonts, holders), whatever the one before stored.
  QFile::remove(Folders::UserConfigFolder() + QStringLiteral("Vellumix.reg"));
  oldDataDir_ = qgetenv("VELLUMIX_DATA_DIR");
  programFolder = TestEnvironment::FreshDir(QStringLiteral("program%1").arg(++counter));
  QFile::copy(QString::fromLocal8Bit(oldDataDir_) + QStringLiteral("/notepad.frf"),
              programFolder + QStringLiteral("/notepad.frf"));
  qputenv("VELLUMIX_DATA_DIR", programFolder.toLocal8Bit());
}

void PrintFixture::TearDown() {
  own_.reset();
  AppFixture::TearDown();
  qputenv("VELLUMIX_DATA_DIR", oldDataDir_);
}

TPrintCommands &PrintFixture::Printing() {
  if (auto *commands = main->findChild<TPrintCommands *>()) return *commands;
  if (!own_)
    own_ = std::make_unique<TPrintCommands>(
        main.get(), *main, [this] { return main->ActiveEdit(); },
        [this] { return main->CurrentFileName(); });
  return *own_;
}

TfrmEdit *PrintFixture::StartWith(const QString &text) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  edit->mmoMemo()->setPlainText(text);
  return edit;
}

bool PrintFixture::Command(const QString &itemName) {
  QAction *action = main->Action(itemName);
  if (!action || !QTest::qWaitFor([&] { return action->isEnabled(); }, 10000)) return false;
  action->trigger();
  return true;
}

QString PrintFixture::PrintToPdf(const QString &name) {
  QString pdf = TestEnvironment::FreshDir(QStringLiteral("pdf%1").arg(++counter)) + u'/' + name;
  Printing().Printers().Choose(QString(), pdf);
  return pdf;
}

QString PrintFixture::Run(const QString &program, const QStringList &arguments) {
  QProcess p;
  p.start(program, arguments);
  EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
  EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": "
                             << p.readAllStandardError().constData();
  return QString::fromUtf8(p.readAllStandardOutput());
}

QStringList PrintFixture::PdfPages(const QString &pdf) {
  QString text =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  // The fonts draw "fi", "fl" and "ff" as one ligature glyph, which pdftotext gives back as is.
  const std::pair<char16_t, const char *> ligatures[] = {{u'\uFB00', "ff"},
                                                         {u'\uFB01', "fi"},
                                                         {u'\uFB02', "fl"},
                                                         {u'\uFB03', "ffi"},
                                                         {u'\uFB04', "ffl"}};
  for (const auto &[glyph, letters] : ligatures) text.replace(QChar(glyph), QLatin1String(letters));
  QStringList pages = text.split(u'\f');
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

int PrintFixture::PdfPageCount(const QString &pdf) {
  for (const QString &line : Run(QStringLiteral("pdfinfo"), {pdf}).split(u'\n'))
    if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
  return -1;
}

QStringList PrintFixture::PdfFonts(const QString &pdf) {
  QStringList names;
  const QStringList lines = Run(QStringLiteral("pdffonts"), {pdf}).split(u'\n');
  for (qsizetype i = 2; i < lines.size(); ++i)  // after the heading and its rule
    if (!lines[i].trimmed().isEmpty()) names << lines[i].section(u' ', 0, 0).section(u'+', -1);
  return names;
}

QString PrintFixture::PdfPageSize(const QString &pdf) {
  for (const QString &line : Run(QStringLiteral("pdfinfo"), {pdf}).split(u'\n'))
    if (line.startsWith(QLatin1String("Page size:"))) return line.mid(10).trimmed();
  return {};
}

QImage PrintFixture::PdfPageImage(const QString &pdf, int page, int dpi) {
  const QString prefix = pdf + QStringLiteral(".page%1-%2").arg(page).arg(dpi);
  Run(QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"), QStringLiteral("-png"),
       QStringLiteral("-singlefile"), QStringLiteral("-f"), QString::number(page),
       QStringLiteral("-l"), QString::number(page), pdf, prefix});
  return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

int PrintFixture::InkOutside(const QImage &page, QSizeF paper, QRectF area) {
  const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
  const double sx = grey.width() / paper.width(), sy = grey.height() / paper.height();
  const QRectF inside(area.left() * sx - 1, area.top() * sy - 1, area.width() * sx + 2,
                      area.height() * sy + 2);
  int ink = 0;
  for (int y = 2; y < grey.height() - 2; ++y) {
    const uchar *row = grey.constScanLine(y);
    for (int x = 2; x < grey.width() - 2; ++x)
      if (row[x] < 200 && !inside.contains(x + 0.5, y + 0.5)) ++ink;
  }
  return ink;
}

double PrintFixture::Difference(const QImage &a, const QImage &b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      sum += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  return sum / (255.0 * a.width() * a.height());
}

QString NumberedLines(int n, const QString &prefix) {
  QStringList lines;
  for (int i = 1; i <= n; ++i) lines << QStringLiteral("%1 %2").arg(prefix).arg(i);
  return lines.join(u'\n');
}
