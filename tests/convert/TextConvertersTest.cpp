// SPDX-License-Identifier: GPL-3.0-or-later
#include <QTimer>

#include "ConverterFixture.h"
#include "convert/core/ZipDirectory.h"

namespace {

using TDirection = TTextConverters::TDirection;

// A converter hive of the test's own, next to the shipped registrations.
TMachineHive HiveWith(const QByteArray &extra) {
  TMachineHive hive = TMachineHive::Load();
  const QByteArray file = QByteArray("Windows Registry Editor Version 5.00\n\n") + extra;
  hive.Merge(file, QStringLiteral("test"));
  return hive;
}

using Converters = ConvertersFixture;

TEST_F(Converters, TheShippedListStartsWithRichTextAndOffersWhatTheToolsRead) {
  const QStringList names = converters.ConverterNames(TDirection::Import);
  ASSERT_FALSE(names.isEmpty());
  EXPECT_EQ(names.first(), QStringLiteral("Rich Text Format"));
  for (const char *name : {"Word (docx)", "OpenDocument Text", "HTML", "Word 97-2003"})
    EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
  const QString filter = converters.BuildConverterFilter(TDirection::Import);
  EXPECT_TRUE(filter.startsWith(QLatin1String("Rich Text Format|*.rtf|Word (docx)|*.docx|")));
  EXPECT_TRUE(filter.contains(QLatin1String("Word 97-2003|*.doc;*.dot"))) << "extensions doc dot";
  EXPECT_EQ(filter.split(u'|').size(), 2 * names.size());
  EXPECT_TRUE(
      converters.ConverterNames(TDirection::Export).contains(QStringLiteral("Word (docx)")));
}

TEST_F(Converters, TheShippedConvertersAreFoundInTheHelperFolderNotOnPath) {
  qputenv("PATH", qgetenv("PATH").mid(static_cast<qsizetype>(qstrlen(VELLUMIX_TEST_BIN_DIR)) + 1));
  // The build tree keeps them where an installation does, relative to the program's folder;
  // a test program is elsewhere, so its helper folder is pointed at the build's.
  const QStringList folders = TTextConverters::HelperFolders();
  ASSERT_FALSE(folders.isEmpty());
  EXPECT_TRUE(folders.first().endsWith(QLatin1String("/libexec/vellumix")))
      << folders.first().toStdString();
  EXPECT_TRUE(QFileInfo::exists(QStringLiteral(VELLUMIX_TEST_BIN_DIR "/vellumix-convert-pandoc")));
  EXPECT_TRUE(
      QString::fromLatin1(VELLUMIX_TEST_BIN_DIR).endsWith(QLatin1String("/libexec/vellumix")));
  EXPECT_TRUE(QStandardPaths::findExecutable(QStringLiteral("vellumix-convert-pandoc")).isEmpty())
      << "not a command";
}

TEST_F(Converters, RegistrationsOfItsOwnKeepTheirOrderAndAMissingToolNamesItsPackage) {
  TTextConverters own(HiveWith(
      Registration("Import", "Zeta", "Zeta Writer", "zw zwt", QStringLiteral("/bin/false")) +
      Registration("Import", "Gone", "Gone Writer", "gw", QStringLiteral("/bin/false"),
                   "\"Requires\"=\"no-such-tool-here\"\n") +
      Registration("Import", "Packaged", "Packaged Writer", "pw", QStringLiteral("/bin/false"),
                   "\"Requires\"=\"no-such-tool-here no-other-tool\"\n\"Package\"=\"zeta-tools "
                   "zeta-extra\"\n")));
  Wire(own);
  const QStringList names = own.ConverterNames(TDirection::Import);
  EXPECT_EQ(names.mid(names.size() - 2),
            (QStringList{QStringLiteral("Zeta Writer"), QStringLiteral("Packaged Writer")}));
  EXPECT_FALSE(names.contains(QStringLiteral("Gone Writer"))) << "no package to name: passed over";
  EXPECT_TRUE(own.BuildConverterFilter(TDirection::Import)
                  .endsWith(QLatin1String("|Zeta Writer|*.zw;*.zwt|Packaged Writer|*.pw")));
  EXPECT_FALSE(own.LoadConverter(QStringLiteral("Gone Writer"), TDirection::Import));
  EXPECT_TRUE(errors.isEmpty());
  QString text;
  EXPECT_FALSE(
      own.ImportFile(dir + QStringLiteral("/a.pw"), QStringLiteral("Packaged Writer"), text));
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(
      errors.first(),
      QStringLiteral("No program that converts Packaged Writer is installed (no-such-tool-here or "
                     "no-other-tool). Install the Debian package zeta-tools or zeta-extra"));
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Converters, TheFormatIsFoundFromTheNameAndElseFromTheContent) {
  const QString docx = MakeWithPandoc(QStringLiteral("letter.docx"), "Text.\n");
  EXPECT_EQ(converters.NameForFileName(docx, TDirection::Import), QStringLiteral("Word (docx)"));
  EXPECT_EQ(converters.NameForFileName(dir + QStringLiteral("/A.HTM"), TDirection::Import),
            QStringLiteral("HTML"));
  EXPECT_EQ(converters.NameForFileName(dir + QStringLiteral("/a.rtf"), TDirection::Export),
            QStringLiteral("Rich Text Format"));
  EXPECT_EQ(converters.NameForFileName(dir + QStringLiteral("/notes.txt"), TDirection::Import),
            QString());
  EXPECT_EQ(converters.NameForFileName(dir + QStringLiteral("/.docx"), TDirection::Import),
            QString())
      << "a hidden name";
  const QString unnamed = dir + QStringLiteral("/letter");
  QFile::copy(docx, unnamed);
  EXPECT_EQ(converters.NameForContent(unnamed), QStringLiteral("Word (docx)"));
  const QString odt = MakeWithPandoc(QStringLiteral("letter.odt"), "Text.\n");
  QFile::copy(odt, dir + QStringLiteral("/letter2"));
  EXPECT_EQ(converters.NameForContent(dir + QStringLiteral("/letter2")),
            QStringLiteral("OpenDocument Text"));
  EXPECT_EQ(converters.NameForContent(
                TestEnvironment::WriteFile(dir + QStringLiteral("/r"), "{\\rtf1 x}")),
            QStringLiteral("Rich Text Format"));
  EXPECT_EQ(converters.NameForContent(
                TestEnvironment::WriteFile(dir + QStringLiteral("/plain"), "just text\n")),
            QString())
      << "plain text is not taken for Markdown";
  EXPECT_EQ(converters.PatternOf(QStringLiteral("Word 97-2003"), TDirection::Import),
            QStringLiteral("*.doc;*.dot"));
}

TEST_F(Converters, AFileOfAnotherKindIsNotTheCorrectFormatAndChangesNothing) {
  const QString png =
      qEnvironmentVariable("VELLUMIX_SOURCE_DIR") + QStringLiteral("/data/icons/vellumix-16.png");
  QString text = QStringLiteral("keep me");
  EXPECT_FALSE(converters.ImportFile(png, QStringLiteral("Word (docx)"), text));
  EXPECT_EQ(messages, QStringList{QStringLiteral("Not the correct file format")});
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(text, QStringLiteral("keep me"));
}

TEST_F(Converters, ALongDocumentArrivesWhole) {
  QByteArray markdown;
  for (int i = 0; i < 22000; ++i)
    markdown += "Paragraph " + QByteArray::number(i) + " of a long document, all of it.\n\n";
  ASSERT_GT(markdown.size(), 1000000);
  const QString file = MakeWithPandoc(QStringLiteral("long.docx"), markdown);
  qsizetype progress = 0;
  converters.OnProgress = [&progress](qsizetype bytes) { progress = bytes; };
  const QString text = Import(file, QStringLiteral("Word (docx)"));
  EXPECT_TRUE(text.contains(QStringLiteral("Paragraph 0 of a long document")));
  EXPECT_TRUE(text.contains(QStringLiteral("Paragraph 21999 of a long document, all of it.")));
  EXPECT_EQ(text.count(QStringLiteral("of a long document")), 22000);
  EXPECT_GT(progress, 1000000) << "progress was reported";
}

TEST_F(Converters, AConverterThatCrashesHangsOrIsMissingEndsWithAClearMessage) {
  const QString crash =
      Script(QStringLiteral("crash.sh"),
             "[ \"$3\" = ready ] && exit 0\n[ \"$3\" = check ] && exit 0\nkill -SEGV $$\n");
  const QString hang = HangingConverter();
  const QString junk = Script(QStringLiteral("junk.sh"),
                              "[ \"$3\" = import ] && echo 'DATA 99999' && exit 0\nexit 0\n");
  QByteArray reg;
  for (const auto &[key, path] :
       {std::pair{"Crash", crash}, std::pair{"Hang", hang}, std::pair{"Junk", junk},
        std::pair{"Missing", QString(dir + QStringLiteral("/not-there"))}})
    reg += Registration("Import", key, key, "x", path);
  TTextConverters own(HiveWith(reg));
  Wire(own);
  const int limit = TConverterProcess::TimeLimitMs;
  TConverterProcess::TimeLimitMs = 1500;
  const QString input = TestEnvironment::WriteFile(dir + QStringLiteral("/in.x"), "x");
  for (const char *name : {"Crash", "Hang", "Junk", "Missing"}) {
    errors.clear();
    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(own.ImportFile(input, QLatin1String(name), text)) << name;
    EXPECT_EQ(text, QStringLiteral("unchanged")) << name;
    ASSERT_EQ(errors.size(), 1) << name;
    const QString expected =
        QLatin1String(name) == QLatin1String("Crash") ? QStringLiteral("stopped unexpectedly")
        : QLatin1String(name) == QLatin1String("Hang")
            ? QStringLiteral("did not finish within 1.5 seconds")
        : QLatin1String(name) == QLatin1String("Junk") ? QStringLiteral("wrong size")
                                                       : QStringLiteral("is not installed");
    EXPECT_TRUE(errors.first().contains(expected)) << name << ": " << errors.first().toStdString();
  }
  TConverterProcess::TimeLimitMs = limit;
  EXPECT_TRUE(Ended(ChildPid())) << "the hanging converter's own child ended with it";
}

TEST_F(Converters, CancelEndsTheConverterAndItsChildrenAtOnce) {
  TTextConverters own(HiveWith(Registration("Import", "Hang", "Hang", "x", HangingConverter())));
  Wire(own);
  const QString input = TestEnvironment::WriteFile(dir + QStringLiteral("/in.x"), "x");
  QTimer poll;
  qint64 child = 0;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if ((child = ChildPid()) > 0) own.Cancel();
  });
  poll.start(10);
  QString text;
  EXPECT_FALSE(own.ImportFile(input, QStringLiteral("Hang"), text));
  EXPECT_TRUE(own.Cancelled());
  EXPECT_TRUE(errors.isEmpty() && messages.isEmpty())
      << "a cancel is not an error: " << errors.join(u' ').toStdString();
  ASSERT_GT(child, 0);
  EXPECT_TRUE(Ended(child));
}

}  // namespace

namespace {

TEST_F(Converters, TheSizeOfAWordDocumentsTextIsReadFromItsZipDirectory) {
  QByteArray markdown;
  for (int i = 0; i < 300; ++i)
    markdown += "A paragraph of the size test, number " + QByteArray::number(i) + ".\n\n";
  const QString docx = MakeWithPandoc(QStringLiteral("sized.docx"), markdown);
  const qint64 size = ZipDirectory::EntrySizeInFile(docx, "word/document.xml");
  EXPECT_GT(size, markdown.size()) << "the document part holds the text and its markup";
  EXPECT_LT(size, 20 * markdown.size());
  EXPECT_EQ(ZipDirectory::EntrySizeInFile(docx, "word/missing.xml"), -1);
  const QByteArray bytes = TestEnvironment::ReadFile(docx);
  EXPECT_EQ(
      ZipDirectory::EntrySizeInFile(TestEnvironment::WriteFile(dir + QStringLiteral("/cut.docx"),
                                                               bytes.left(bytes.size() - 30)),
                                    "word/document.xml"),
      -1)
      << "a cut file has no directory";
  EXPECT_EQ(ZipDirectory::EntrySizeInFile(
                TestEnvironment::WriteFile(dir + QStringLiteral("/text.docx"), "not a zip"),
                "word/document.xml"),
            -1);
  // A directory entry whose name runs past the directory's end.
  QByteArray entry("PK\x01\x02", 4);
  entry += QByteArray(20, '\0') + QByteArray("\x10\0\0\0", 4) + QByteArray("\xff\x00", 2) +
           QByteArray(16, '\0') + "word";
  EXPECT_EQ(ZipDirectory::EntrySize(entry, "word"), -1);
}

}  // namespace
