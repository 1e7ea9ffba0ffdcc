// SPDX-License-Identifier: GPL-3.0-or-later
// What the shipped converters keep, with the real pandoc and LibreOffice and documents they
// made: every character and line of a plain text through each offered export format and back,
// table rows and index text of an OpenDocument file, no metadata lines.
#include <QProcess>

#include "ConverterFixture.h"

namespace {

using TDirection = TTextConverters::TDirection;

// Tabs, indentation, trailing blanks, empty lines, typographic characters and characters that
// mean something in one of the formats.
const QString kText = QStringLiteral(
    "Title line\n"
    "\tTabbed line\twith a tab inside\n"
    "    Four spaces of indentation\n"
    "Trailing spaces   \n"
    "Dash – em dash — “quotes” ‘single’ ellipsis … no-break\u00a0space, Привет, 漢字\n"
    "\n"
    "\n"
    "After two empty lines\n"
    "<b>not bold</b> & *stars* _under_ \\back $x$ #hash {braces} ~tilde^ 100%\n"
    "  last line indented");

using ConverterFidelity = ConvertersFixture;

TEST_F(ConverterFidelity, EveryOfferedExportFormatKeepsEveryCharacterAndLine) {
  QStringList formats = converters.ConverterNames(TDirection::Export);
  formats.removeAll(TTextConverters::RichText());  // written by the program itself
  ASSERT_GE(formats.size(), 6);
  if (!HaveOffice()) formats.removeAll(QStringLiteral("Word 97-2003"));
  for (const QString &name : formats) {
    const QString extension =
        converters.PatternOf(name, TDirection::Export).section(u';', 0, 0).mid(1);
    const QString file = dir + QStringLiteral("/round") + extension;
    ASSERT_TRUE(converters.ExportFile(file, name, kText))
        << name.toStdString() << ": " << problems.join(u' ').toStdString();
    const QString back = Import(file, converters.NameForFileName(file, TDirection::Import));
    EXPECT_EQ(back, kText) << name.toStdString() << " gave:\n" << back.toStdString();
  }
  EXPECT_TRUE(problems.isEmpty()) << problems.join(u' ').toStdString();
  EXPECT_FALSE(TestEnvironment::ReadFile(dir + QStringLiteral("/round.md")).contains("--"))
      << "Markdown keeps the dash as it is";
  // An e-book names its title and a real language, whatever the locale (here "C").
  QProcess unzip;
  unzip.start(QStringLiteral("python3"),
              {QStringLiteral("-c"),
               QStringLiteral("import sys, zipfile; sys.stdout.buffer.write("
                              "zipfile.ZipFile(sys.argv[1]).read('EPUB/content.opf'))"),
               dir + QStringLiteral("/round.epub")});
  ASSERT_TRUE(unzip.waitForFinished(30000));
  const QByteArray package = unzip.readAllStandardOutput();
  EXPECT_TRUE(package.contains("<dc:title id=\"epub-title-1\">round</dc:title>"))
      << package.toStdString();
  EXPECT_FALSE(package.contains("<dc:language>C</dc:language>")) << package.toStdString();
  EXPECT_TRUE(package.contains("<dc:language>")) << package.toStdString();
}

TEST_F(ConverterFidelity, ImportAddsNoMetadataLines) {
  const QStringList meta{QStringLiteral("--metadata"), QStringLiteral("title=The Book Title"),
                         QStringLiteral("--metadata"), QStringLiteral("date=2024-01-02"),
                         QStringLiteral("--metadata"), QStringLiteral("author=Ann Author")};
  // (HTML pages and OpenDocument files made so show the title, author and date in their body
  // text; an HTML page's <title> alone is tested with the import command.)
  for (const QString &file : {QStringLiteral("book.epub"), QStringLiteral("letter.docx")}) {
    const QString made = MakeWithPandoc(file, "The first paragraph.\n\nThe second.\n", meta);
    EXPECT_EQ(Import(made, converters.NameForFileName(made, TDirection::Import)),
              QStringLiteral("The first paragraph.\nThe second."))
        << file.toStdString();
  }
}

TEST_F(ConverterFidelity, WordAndHtmlTablesKeepEveryRow) {
  const QByteArray markdown =
      "Before.\n\n| Name | Amount |\n|---|---|\n| Apples | 3 |\n| Pears | 5 |\n\nAfter.\n";
  for (const QString &file : {QStringLiteral("table.docx"), QStringLiteral("table.html")}) {
    const QString made = MakeWithPandoc(
        file, markdown, {QStringLiteral("--metadata"), QStringLiteral("pagetitle=t")});
    const QString text = Import(made, converters.NameForFileName(made, TDirection::Import));
    qsizetype at = 0;
    for (const char *part : {"Before.", "Name", "Amount", "Apples", "3", "Pears", "5", "After."}) {
      const qsizetype found = text.indexOf(QLatin1String(part), at);
      EXPECT_GE(found, at) << part << " in order in " << file.toStdString() << ":\n"
                           << text.toStdString();
      at = qMax(at, found);
    }
  }
}

// (A Word 97-2003 file made by LibreOffice is read in the round trip above.)
TEST_F(ConverterFidelity, AnOpenDocumentFileKeepsItsTableRowsAndIndexText) {
  if (!HaveOffice())
    GTEST_SKIP() << "LibreOffice is not installed (tools/setup-debian.sh installs it)";
  TestEnvironment::WriteFile(dir + QStringLiteral("/form.fodt"),
                             R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
<office:body><office:text>
<text:p>Анкета: the form.</text:p>
<table:table table:name="Amounts"><table:table-column table:number-columns-repeated="2"/>
<table:table-header-rows><table:table-row>
<table:table-cell><text:p>Фамилия</text:p></table:table-cell><table:table-cell><text:p>Amount</text:p></table:table-cell>
</table:table-row></table:table-header-rows>
<table:table-row><table:table-cell><text:p>Apples</text:p></table:table-cell><table:table-cell><text:p>3</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell><text:p>Pears</text:p></table:table-cell><table:table-cell><text:p>5</text:p></table:table-cell></table:table-row>
</table:table>
<text:p>Zebra<text:alphabetical-index-mark text:string-value="zebra"/> and apple<text:alphabetical-index-mark text:string-value="apple"/>.</text:p>
<text:alphabetical-index text:name="Index1"><text:alphabetical-index-source/>
<text:index-body><text:index-title text:name="Index1_Head"><text:p>Alphabetical Index</text:p></text:index-title>
<text:p>apple, 1</text:p><text:p>zebra, 1</text:p></text:index-body></text:alphabetical-index>
</office:text></office:body></office:document>
)");
  MakeWithOffice(QStringLiteral("odt"), {dir + QStringLiteral("/form.fodt")});
  ASSERT_TRUE(QFile::exists(dir + QStringLiteral("/form.odt")));

  const QString form =
      Import(dir + QStringLiteral("/form.odt"), QStringLiteral("OpenDocument Text"));
  for (const char *part : {"Анкета: the form.", "Фамилия", "Amount", "Apples", "3", "Pears", "5",
                           "Zebra and apple.", "Alphabetical Index", "apple, 1", "zebra, 1"})
    EXPECT_TRUE(form.contains(QString::fromUtf8(part))) << part << " in:\n" << form.toStdString();
  EXPECT_LT(form.indexOf(QStringLiteral("Фамилия")), form.indexOf(QStringLiteral("Apples")))
      << "the header row first";
}

}  // namespace

namespace {

// PATH for the length of a test.
class TPath {
 public:
  explicit TPath(const QByteArray &path) : saved_(qgetenv("PATH")) { qputenv("PATH", path); }
  ~TPath() { qputenv("PATH", saved_); }

 private:
  QByteArray saved_;
};

TEST_F(ConverterFidelity, AWordFileThatPandocCannotReadIsReadByTheOffice) {
  if (!HaveOffice())
    GTEST_SKIP() << "LibreOffice is not installed (tools/setup-debian.sh installs it)";
  const QString docx = MakeWithPandoc(QStringLiteral("letter.docx"), "Read by the other tool.\n");
  QDir().mkpath(dir + QStringLiteral("/fake"));
  Script(QStringLiteral("fake/pandoc"), "echo 'pandoc: this reader is broken' >&2\nexit 64\n");
  const TPath path(dir.toUtf8() + "/fake:" + qgetenv("PATH"));
  EXPECT_EQ(Import(docx, QStringLiteral("Word (docx)")), QStringLiteral("Read by the other tool."));
}

TEST_F(ConverterFidelity, AFormatWhoseToolIsMissingIsOfferedAndNamesTheDebianPackage) {
  const TPath path(VELLUMIX_TEST_BIN_DIR);  // the converters, but neither pandoc nor LibreOffice
  const QStringList names = converters.ConverterNames(TDirection::Import);
  for (const char *name : {"Word (docx)", "OpenDocument Text", "HTML", "Word 97-2003"})
    EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
  QString text;
  EXPECT_FALSE(
      converters.ImportFile(dir + QStringLiteral("/a.docx"), QStringLiteral("Word (docx)"), text));
  EXPECT_FALSE(
      converters.ExportFile(dir + QStringLiteral("/a.doc"), QStringLiteral("Word 97-2003"), text));
  EXPECT_EQ(
      problems,
      (QStringList{
          QStringLiteral("No program that converts Word (docx) is installed (pandoc or soffice). "
                         "Install the Debian package pandoc or libreoffice-writer-nogui"),
          QStringLiteral("No program that converts Word 97-2003 is installed (soffice). "
                         "Install the Debian package libreoffice-writer-nogui")}));
}

}  // namespace
