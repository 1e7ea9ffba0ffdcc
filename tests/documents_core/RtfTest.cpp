// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <vector>

#include "TestEnvironment.h"
#include "documents/core/RtfBuilder.h"
#include "documents/core/RtfParseJob.h"
#include "documents/core/RtfParser.h"
#include "documents/core/RtfReader.h"
#include "documents/core/RtfWriter.h"

namespace {
QByteArray Fixture(const QString &name) {
  const QString path = QStringLiteral(RTF_FIXTURE_DIR "/") + name;
  QByteArray bytes = TestEnvironment::ReadFile(path);
  EXPECT_FALSE(bytes.isEmpty()) << path.toStdString();
  return bytes;
}

QStringList Paragraphs(const QTextDocument &document) {
  QStringList result;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    result.append(block.text());
  return result;
}

// The format of the character at the start of the first occurrence of text.
QTextCharFormat FormatOf(const QTextDocument &document, const QString &text) {
  const QTextCursor found = document.find(text);
  EXPECT_FALSE(found.isNull()) << text.toStdString();
  QTextCursor cursor(const_cast<QTextDocument *>(&document));
  cursor.setPosition(found.selectionStart() + 1);
  return cursor.charFormat();
}

Qt::Alignment AlignmentOf(const QTextDocument &document, const QString &text) {
  return document.find(text).block().blockFormat().alignment();
}

QString Family(const QTextCharFormat &format) {
  const QStringList families = format.fontFamilies().toStringList();
  return families.isEmpty() ? QString() : families.first();
}

// The text as the blocks hold it (line separators and no-break spaces kept).
QString ReadText(const QByteArray &rtf) {
  QTextDocument document;
  TRtfReader reader;
  EXPECT_TRUE(reader.Read(rtf, document)) << reader.Error().toStdString();
  return Paragraphs(document).join(u'\n');
}
}  // namespace

TEST(RtfReader, ReadsPandocOutputWithItsFormatting) {
  QTextDocument document;
  TRtfReader reader;
  ASSERT_TRUE(reader.Read(Fixture(QStringLiteral("pandoc-sample.rtf")), document))
      << reader.Error().toStdString();
  const QStringList paragraphs = Paragraphs(document);
  ASSERT_GE(paragraphs.size(), 10);
  EXPECT_EQ(paragraphs[0], QStringLiteral("Quarterly Letter"));
  EXPECT_EQ(paragraphs[1], QStringLiteral("Dear reader, this is bold, this is italic, this is "
                                          "struck out and this is code."));
  EXPECT_EQ(paragraphs[2],
            QStringLiteral("Prices: 5 \u20ac for the cr\u00e8me br\u00fbl\u00e9e, "
                           "na\u00efve caf\u00e9; Greek \u03a9\u03bc\u03ad\u03b3\u03b1;"
                           " \u65e5\u672c\u8a9e; emoji \U0001F600."));
  EXPECT_EQ(paragraphs[3],
            QStringLiteral("A link to somewhere and braces {like this} and a back\\slash."));
  EXPECT_EQ(paragraphs[4], QStringLiteral("\u2022\tfirst item"));
  EXPECT_EQ(paragraphs.last(), QStringLiteral("Final paragraph with a footnote."));
  EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("footnote text")));
  EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("HYPERLINK")));

  const QTextCharFormat title = FormatOf(document, QStringLiteral("Quarterly"));
  EXPECT_EQ(title.fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(title.fontPointSize(), 18.0);
  EXPECT_EQ(Family(title), QStringLiteral("Helvetica"));
  EXPECT_EQ(FormatOf(document, QStringLiteral("bold,")).fontWeight(), QFont::Bold);
  EXPECT_EQ(FormatOf(document, QStringLiteral("reader")).fontWeight(), QFont::Normal);
  EXPECT_TRUE(FormatOf(document, QStringLiteral("italic,")).fontItalic());
  EXPECT_TRUE(FormatOf(document, QStringLiteral("struck")).fontStrikeOut());
  EXPECT_EQ(Family(FormatOf(document, QStringLiteral("code."))), QStringLiteral("Courier"));
  EXPECT_TRUE(FormatOf(document, QStringLiteral("link to")).fontUnderline());
  EXPECT_FALSE(FormatOf(document, QStringLiteral("and braces")).fontUnderline());
  // Table cells keep their alignment.
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Center")), Qt::AlignHCenter);
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Right")), Qt::AlignRight);
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Left")), Qt::AlignLeft);
}

TEST(RtfReader, ReadsLibreOfficeOutputWithItsFormatting) {
  QTextDocument document;
  TRtfReader reader;
  ASSERT_TRUE(reader.Read(Fixture(QStringLiteral("libreoffice-sample.rtf")), document))
      << reader.Error().toStdString();
  EXPECT_EQ(
      Paragraphs(document),
      (QStringList{QStringLiteral("Centred Title"),
                   QStringLiteral("Normal bold italic underlined struck dark red mono big."),
                   QStringLiteral("Right aligned: caf\u00e9 \u20ac \u03a9mega \u65e5\u672c "
                                  "\U0001F600 {braces} back\\slash"),
                   QStringLiteral("Justified paragraph that is long enough to wrap around the page "
                                  "a few times so that justification is visible in the output of "
                                  "the word processor."),
                   QStringLiteral("Last line.")}));
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Centred")), Qt::AlignHCenter);
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Normal")), Qt::AlignLeft);
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Right aligned")), Qt::AlignRight);
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("Justified")), Qt::AlignJustify);
  const QTextCharFormat title = FormatOf(document, QStringLiteral("Centred"));
  EXPECT_EQ(title.fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(title.fontPointSize(), 18.0);
  EXPECT_EQ(Family(title), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(Family(FormatOf(document, QStringLiteral("Normal"))), QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(FormatOf(document, QStringLiteral("bold")).fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatOf(document, QStringLiteral("italic")).fontItalic());
  EXPECT_TRUE(FormatOf(document, QStringLiteral("underlined")).fontUnderline());
  EXPECT_TRUE(FormatOf(document, QStringLiteral("struck")).fontStrikeOut());
  EXPECT_EQ(FormatOf(document, QStringLiteral("dark red")).foreground().color(),
            QColor(0xc0, 0, 0));
  EXPECT_EQ(Family(FormatOf(document, QStringLiteral("mono"))), QStringLiteral("Liberation Mono"));
  EXPECT_DOUBLE_EQ(FormatOf(document, QStringLiteral("big")).fontPointSize(), 20.0);
  EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("Heading")));
  EXPECT_FALSE(document.toPlainText().contains(QStringLiteral("Sample")));

  // Written back and read again, the text and formatting stay.
  QTextDocument again;
  ASSERT_TRUE(reader.Read(TRtfWriter::Write(document), again));
  EXPECT_EQ(Paragraphs(again), Paragraphs(document));
  EXPECT_EQ(AlignmentOf(again, QStringLiteral("Justified")), Qt::AlignJustify);
  EXPECT_EQ(FormatOf(again, QStringLiteral("dark red")).foreground().color(), QColor(0xc0, 0, 0));
  EXPECT_EQ(Family(FormatOf(again, QStringLiteral("mono"))), QStringLiteral("Liberation Mono"));
}

TEST(RtfReader, UnicodeAndCodePageEscapes) {
  // \ucN: N fallback characters (plain, \'hh or a control word) follow each \u.
  EXPECT_EQ(ReadText("{\\rtf1\\ansi \\u8364\\'80 \\uc2\\u937 XYZ\\uc0\\u945 B}"),
            QStringLiteral("\u20ac \u03a9Z\u03b1B"));
  // The end of a group ends the skipping; \uc is scoped to its group.
  EXPECT_EQ(ReadText("{\\rtf1{\\uc3\\u8364 A}B\\u8364 CD}"), QStringLiteral("\u20acB\u20acD"));
  // Negative values stand for code units above 32767; surrogate pairs join.
  EXPECT_EQ(ReadText("{\\rtf1 \\u-10179?\\u-8704?\\u-257?}"), QStringLiteral("\U0001F600\uFEFF"));
  // Code-page escapes and raw high bytes follow \ansicpg (1252 by default).
  EXPECT_EQ(ReadText("{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80\\'9c \xe9}"),
            QStringLiteral("caf\u00e9 \u20ac\u0153 \u00e9"));
  // Special characters and escaped braces.
  EXPECT_EQ(ReadText("{\\rtf1 a\\tab b\\line c\\~d\\emdash\\{\\}\\\\\\ldblquote x\\rdblquote}"),
            QStringLiteral("a\tb\u2028c\u00a0d\u2014{}\\\u201cx\u201d"));
  if (QStringDecoder("windows-1251").isValid()) {
    EXPECT_EQ(ReadText("{\\rtf1\\ansi\\ansicpg1251 \\'cc\\'e8\\'f0}"),
              QStringLiteral("\u041c\u0438\u0440"));
    EXPECT_EQ(ReadText("{\\rtf1{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset0 Arial;}}"
                       "\\f0\\'cc\\f1\\'cc}"),
              QStringLiteral("\u041c\u00cc"));
  }
}

TEST(RtfReader, SkipsDestinationsThatAreNotText) {
  const QByteArray rtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman{\\*\\panose 0}Times;}}"
      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Secret}{\\author Someone}}"
      "{\\*\\generator Writer}{\\*\\unknownthing with text}"
      "{\\header Page header}"
      "{\\pict\\pngblip\\bin6 {{}}\\ 89504e47}"
      "Visible {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt shown}} text."
      "{\\*\\footnote not here}\\par}";
  QTextDocument document;
  TRtfReader reader;
  ASSERT_TRUE(reader.Read(rtf, document)) << reader.Error().toStdString();
  EXPECT_EQ(document.toPlainText(), QStringLiteral("Visible shown text."));
  EXPECT_EQ(Family(FormatOf(document, QStringLiteral("Visible"))), QStringLiteral("Times"));
}

TEST(RtfReader, CharacterFormattingAndGroups) {
  const QByteArray rtf =
      "{\\rtf1\\deff0{\\fonttbl\\f0\\fnil Arial;\\f1\\fnil Courier New;}"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
      "\\pard\\qc\\fs20 plain {\\b bold {\\i both}} {\\ul under\\ulnone  not} "
      "\\cf1 red \\cf2 green \\cf0 auto \\f1 mono\\plain  reset\\par"
      "\\pard\\qr right\\par\\pard\\qj justified\\par\\pard left}";
  QTextDocument document;
  TRtfReader reader;
  ASSERT_TRUE(reader.Read(rtf, document));
  EXPECT_EQ(
      Paragraphs(document),
      (QStringList{QStringLiteral("plain bold both under not red green auto mono reset"),
                   QStringLiteral("right"), QStringLiteral("justified"), QStringLiteral("left")}));
  // \pard resets the alignment of the paragraphs that follow.
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("plain")), Qt::AlignHCenter);
  EXPECT_EQ(AlignmentOf(document, QStringLiteral("left")), Qt::AlignLeft);
  const QTextCharFormat plain = FormatOf(document, QStringLiteral("plain"));
  EXPECT_DOUBLE_EQ(plain.fontPointSize(), 10.0);
  EXPECT_EQ(Family(plain), QStringLiteral("Arial"));  // the default font
  EXPECT_EQ(FormatOf(document, QStringLiteral("both")).fontWeight(), QFont::Bold);
  EXPECT_TRUE(FormatOf(document, QStringLiteral("both")).fontItalic());
  EXPECT_FALSE(FormatOf(document, QStringLiteral(" bold")).fontItalic());
  EXPECT_TRUE(FormatOf(document, QStringLiteral("under")).fontUnderline());
  EXPECT_FALSE(FormatOf(document, QStringLiteral("not")).fontUnderline());
  EXPECT_EQ(FormatOf(document, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(FormatOf(document, QStringLiteral("green")).foreground().color(), QColor(0, 128, 0));
  EXPECT_FALSE(
      FormatOf(document, QStringLiteral("auto")).hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(Family(FormatOf(document, QStringLiteral("mono"))), QStringLiteral("Courier New"));
  EXPECT_EQ(FormatOf(document, QStringLiteral("reset")).fontPointSize(), 0.0);
}

TEST(RtfReader, RefusesWhatIsNotRichTextAndKeepsItsBounds) {
  QTextDocument document;
  document.setPlainText(QStringLiteral("old"));
  TRtfReader reader;
  for (const QByteArray &bad : {QByteArray(), QByteArray("plain text"), QByteArray("{\\rt"),
                                QByteArray("\x00\x01{\\rtf1}", 8)}) {
    EXPECT_FALSE(reader.Read(bad, document));
    EXPECT_EQ(reader.Error(), QStringLiteral("The file is not a rich text document"));
    EXPECT_TRUE(document.isEmpty());
  }
  const QByteArray deep =
      QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "x" + QByteArray(100000, '}');
  EXPECT_FALSE(reader.Read(deep, document));
  EXPECT_EQ(reader.Error(), QStringLiteral("The rich text document is nested too deeply"));

  TRtfReader::TLimits limits;
  limits.maxInputBytes = 64;
  TRtfReader small(limits);
  EXPECT_FALSE(small.Read(QByteArray("{\\rtf1 " + QByteArray(100, 'x') + "}"), document));
  EXPECT_EQ(small.Error(), QStringLiteral("The rich text document is too large"));

  limits = TRtfReader::TLimits();
  limits.maxCharacters = 10;
  TRtfReader shortText(limits);
  ASSERT_TRUE(shortText.Read("{\\rtf1 abcdef\\par ghijkl\\par mnop}", document));
  EXPECT_TRUE(shortText.Truncated());
  EXPECT_EQ(document.toPlainText(), QStringLiteral("abcdef\nghi"));

  // Missing closing braces and a dangling backslash still give the text read so far.
  EXPECT_TRUE(reader.Read("{\\rtf1 unfinished {\\b bold \\", document));
  EXPECT_EQ(document.toPlainText(), QStringLiteral("unfinished bold "));
}

// The number of runs of one format in a block.
int RunsOf(const QTextBlock &block) {
  int runs = 0;
  for (auto it = block.begin(); !it.atEnd(); ++it) ++runs;
  return runs;
}

TEST(RtfReader, RunsOfOneFormatMergeAndABlockKeepsABoundedNumberOfRuns) {
  QTextDocument document;
  TRtfReader reader;
  // Groups that change nothing, and formats set twice, give one run.
  ASSERT_TRUE(reader.Read("{\\rtf1 {\\b a}{\\b b}\\b c{\\i0 d}\\b0 e}", document));
  EXPECT_EQ(document.toPlainText(), QStringLiteral("abcde"));
  EXPECT_EQ(RunsOf(document.begin()), 2);
  EXPECT_FALSE(reader.FormattingDropped());

  // A megabyte of one-letter runs of alternating formats in one paragraph: the text is all
  // read, the formats of the first runs are kept, later changes take the format before them.
  QByteArray runs = "{\\rtf1 ";
  int letters = 0;
  for (; runs.size() < 1024 * 1024; ++letters) runs += (letters % 2 ? "{\\b x}" : "{\\i y}");
  runs += "\\par second paragraph {\\b bold}}";
  ASSERT_TRUE(reader.Read(runs, document)) << reader.Error().toStdString();
  EXPECT_TRUE(reader.FormattingDropped());
  const QTextBlock first = document.begin();
  EXPECT_EQ(first.text().size(), letters);
  EXPECT_EQ(RunsOf(first), TRtfReader::TLimits().maxRunsPerParagraph);
  QTextCursor cursor(&document);
  cursor.setPosition(1);
  EXPECT_TRUE(cursor.charFormat().fontItalic());
  cursor.setPosition(2);
  EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
  // The next paragraph starts counting afresh.
  EXPECT_EQ(first.next().text(), QStringLiteral("second paragraph bold"));
  EXPECT_EQ(FormatOf(document, QStringLiteral("bold")).fontWeight(), QFont::Bold);
}

TEST(RtfReader, TooManyParagraphsAreRefusedWhateverMakesThem) {
  QTextDocument document;
  TRtfReader::TLimits limits;
  limits.maxParagraphs = 100;
  TRtfReader reader(limits);
  const QString refused = QStringLiteral(
      "The rich text document has more paragraphs than a workspace can hold (at most 100)");
  // \par, \line-less escapes of line feeds and paragraph separators all make paragraphs.
  for (const QByteArray &paragraph :
       {QByteArray("\\par "), QByteArray("\\u8233?"), QByteArray("\\'0a"), QByteArray("\\u10?")}) {
    SCOPED_TRACE(paragraph.toStdString());
    document.setPlainText(QStringLiteral("old"));
    EXPECT_FALSE(reader.Read(QByteArray("{\\rtf1 x" + paragraph.repeated(150) + "}"), document));
    EXPECT_EQ(reader.Error(), refused);
    EXPECT_TRUE(document.isEmpty());
    ASSERT_TRUE(reader.Read(QByteArray("{\\rtf1 a" + paragraph.repeated(50) + "b}"), document));
    EXPECT_EQ(document.blockCount(), 51);
  }
  // Characters a document would take as frame breaks are dropped.
  ASSERT_TRUE(reader.Read("{\\rtf1 a\\u-560?b\\u-559?c\\'0dd}", document));
  EXPECT_EQ(document.toPlainText(), QStringLiteral("abcd"));

  // The default bound: five megabytes of \par are refused without building a document.
  TRtfReader plain;
  EXPECT_FALSE(plain.Read(QByteArray("{\\rtf1 " + QByteArray("\\par ").repeated(1100 * 1000) + "}"),
                          document));
  EXPECT_EQ(plain.Error(),
            QStringLiteral("The rich text document has more paragraphs than a workspace can hold "
                           "(at most 1,000,000)"));
}

TEST(RtfReader, ProgressIsToldAndCancelStopsTheRead) {
  QByteArray rtf = "{\\rtf1 ";
  for (int i = 0; i < 30000; ++i) rtf += "{\\b word} word\\par ";
  rtf += "}";
  QTextDocument document;
  TRtfReader reader;
  std::vector<int> told;
  reader.SetProgress([&told](int perMille) {
    told.push_back(perMille);
    return true;
  });
  ASSERT_TRUE(reader.Read(rtf, document));
  EXPECT_EQ(document.blockCount(), 30000);
  ASSERT_GE(told.size(), 4u);
  EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
  EXPECT_GE(told.front(), 0);
  EXPECT_LE(told.back(), 1000);
  EXPECT_GT(told.back(), 500);  // the document was being built

  // Cancelled while reading, and while building the document.
  for (int cancelAt : {1, 600}) {
    SCOPED_TRACE(cancelAt);
    reader.SetProgress([cancelAt](int perMille) { return perMille < cancelAt; });
    EXPECT_FALSE(reader.Read(rtf, document));
    EXPECT_TRUE(reader.Cancelled());
    EXPECT_EQ(reader.Error(), QStringLiteral("Reading the rich text document was cancelled"));
    EXPECT_TRUE(document.isEmpty());
  }
  reader.SetProgress(nullptr);
  ASSERT_TRUE(reader.Read("{\\rtf1 x}", document));
  EXPECT_FALSE(reader.Cancelled());
}

namespace {
// Everything a document shows of rich text, block by block: the alignment, the block's own
// character format and each fragment with its format.
QStringList Dump(const QTextDocument &document) {
  const auto format = [](const QTextCharFormat &f) {
    return QStringLiteral("[w%1 i%2 u%3 s%4 %5 %6 %7]")
        .arg(f.fontWeight())
        .arg(f.fontItalic())
        .arg(f.fontUnderline())
        .arg(f.fontStrikeOut())
        .arg(f.fontFamilies().toStringList().join(u','))
        .arg(f.fontPointSize())
        .arg(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                         : QString());
  };
  QStringList dump;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QString line =
        QString::number(int(block.blockFormat().alignment())) + format(block.charFormat()) + u'|';
    for (auto it = block.begin(); !it.atEnd(); ++it)
      line += it.fragment().text() + format(it.fragment().charFormat());
    dump << line;
  }
  return dump;
}

// One paragraph of many short runs with characters outside the first plane, some empty
// paragraphs, and paragraphs of every alignment.
QByteArray MixedRtf() {
  QByteArray rtf = "{\\rtf1{\\colortbl;\\red0\\green0\\blue255;}\\qc centred\\par\\par ";
  for (int i = 0; i < 3000; ++i) rtf += i % 3 ? "{\\b b\\u-10179?\\u-8704?}" : "{\\cf1\\i i}";
  rtf += "\\par\\pard\\qr right\\par\\par\\qj justified {\\fs40 big}}";
  return rtf;
}

void ExpectSameContent(const TRtfContent &a, const TRtfContent &b) {
  EXPECT_EQ(a.text, b.text);
  ASSERT_EQ(a.runs.size(), b.runs.size());
  for (size_t i = 0; i < a.runs.size(); ++i) {
    EXPECT_EQ(a.runs[i].end, b.runs[i].end);
    EXPECT_EQ(a.runs[i].format, b.runs[i].format);
  }
  ASSERT_EQ(a.paragraphs.size(), b.paragraphs.size());
  for (size_t i = 0; i < a.paragraphs.size(); ++i) {
    EXPECT_EQ(a.paragraphs[i].end, b.paragraphs[i].end);
    EXPECT_EQ(a.paragraphs[i].alignment, b.paragraphs[i].alignment);
    EXPECT_EQ(a.paragraphs[i].charFormat, b.paragraphs[i].charFormat);
  }
  EXPECT_EQ(a.formats, b.formats);
}

// Waits for a job with a generous limit.
bool WaitFor(const TRtfParseJob &job) {
  return QTest::qWaitFor([&] { return job.Finished(); }, 120000);
}
}  // namespace

TEST(RtfParser, GivesTheTextItsRunsAndItsParagraphsAsPlainData) {
  const TRtfParsed parsed = RtfParser::Parse(
      "{\\rtf1\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "\\qc plain {\\b bold}\\par\\pard\\qr {\\cf1\\fs30 red} {\\f1\\ul\\strike mono}\\par}",
      TRtfLimits());
  ASSERT_TRUE(parsed.Ok()) << parsed.error.toStdString();
  const TRtfContent &content = parsed.content;
  EXPECT_EQ(content.text, QStringLiteral("plain boldred mono"));
  ASSERT_EQ(content.paragraphs.size(), 2u);  // the \\par at the end opens no third one
  EXPECT_EQ(content.paragraphs[0].end, 10);
  EXPECT_EQ(content.paragraphs[0].alignment, Qt::AlignHCenter);
  EXPECT_EQ(content.paragraphs[1].end, 18);
  EXPECT_EQ(content.paragraphs[1].alignment, Qt::AlignRight);
  // plain | bold | red | " " | mono: the two plain runs share one format.
  ASSERT_EQ(content.runs.size(), 5u);
  const std::vector<qsizetype> ends = {6, 10, 13, 14, 18};
  for (size_t i = 0; i < ends.size(); ++i) EXPECT_EQ(content.runs[i].end, ends[i]) << i;
  EXPECT_EQ(content.runs[0].format, content.runs[3].format);
  const auto formatOf = [&content](size_t run) {
    return content.formats[size_t(content.runs[run].format)];
  };
  EXPECT_EQ(formatOf(0), (TRtfCharFormat{.family = QStringLiteral("Arial")}));
  EXPECT_EQ(formatOf(1), (TRtfCharFormat{.bold = true, .family = QStringLiteral("Arial")}));
  EXPECT_EQ(
      formatOf(2),
      (TRtfCharFormat{
          .halfPoints = 30, .family = QStringLiteral("Arial"), .hasColor = true, .rgb = 0xFF0000}));
  EXPECT_EQ(
      formatOf(4),
      (TRtfCharFormat{.underline = true, .strike = true, .family = QStringLiteral("Courier")}));
  EXPECT_FALSE(parsed.truncated);
  EXPECT_FALSE(parsed.formattingDropped);
}

TEST(RtfParser, TheDefaultLimitsCutNoText) {
  // Longer than the old edit control's 16,777,215 characters.
  constexpr qsizetype length = 17 * 1000 * 1000;
  const QByteArray rtf = "{\\rtf1 " + QByteArray(length, 'x') + "\\par y}";
  const TRtfParsed parsed = RtfParser::Parse(rtf, TRtfLimits());
  ASSERT_TRUE(parsed.Ok()) << parsed.error.toStdString();
  EXPECT_FALSE(parsed.truncated);
  EXPECT_EQ(parsed.content.text.size(), length + 1);
  EXPECT_EQ(parsed.content.paragraphs.size(), 2u);
}

TEST(RtfDocumentBuilder, SlicesOfAnySizeMakeTheSameDocument) {
  const QByteArray inputs[] = {Fixture(QStringLiteral("pandoc-sample.rtf")),
                               Fixture(QStringLiteral("libreoffice-sample.rtf")), MixedRtf()};
  for (const QByteArray &rtf : inputs) {
    const TRtfParsed parsed = RtfParser::Parse(rtf, TRtfLimits());
    ASSERT_TRUE(parsed.Ok());
    QTextDocument whole;
    TRtfDocumentBuilder(parsed.content, whole).Finish();
    // The reader in one call makes the same document.
    QTextDocument read;
    TRtfReader reader;
    ASSERT_TRUE(reader.Read(rtf, read));
    const QStringList expected = Dump(whole);
    EXPECT_EQ(Dump(read), expected);
    for (const qsizetype work : {qsizetype(1), qsizetype(7), qsizetype(100), qsizetype(5000)}) {
      SCOPED_TRACE(work);
      QTextDocument sliced;
      sliced.setUndoRedoEnabled(true);
      TRtfDocumentBuilder builder(parsed.content, sliced);
      std::vector<int> progress;
      int slices = 0;
      while (builder.Step(work)) {
        ++slices;
        progress.push_back(builder.Progress());
        EXPECT_FALSE(sliced.isUndoAvailable());
      }
      EXPECT_FALSE(builder.Step(work));
      EXPECT_TRUE(builder.Done());
      EXPECT_EQ(builder.Progress(), 1000);
      EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
      if (work < 100) {
        EXPECT_GT(slices, 10);
      }
      EXPECT_EQ(Dump(sliced), expected);
      EXPECT_EQ(sliced.toRawText(), whole.toRawText());
    }
  }
}

TEST(RtfParseJob, GivesWhatTheParserGivesAndStopsWhenAskedOrDestroyed) {
  const QByteArray sample = Fixture(QStringLiteral("pandoc-sample.rtf"));
  int started = 0;
  TRtfParseJob::Started = [&started](TRtfParseJob &) { ++started; };
  {
    TRtfParseJob job(sample, TRtfLimits());
    ASSERT_TRUE(WaitFor(job));
    EXPECT_EQ(job.Progress(), 1000);
    const TRtfParsed expected = RtfParser::Parse(sample, TRtfLimits());
    ASSERT_TRUE(job.Result().Ok());
    ExpectSameContent(job.Result().content, expected.content);
  }
  EXPECT_EQ(started, 1);
  TRtfParseJob::Started = nullptr;

  // Errors come back as the parser gives them.
  TRtfParseJob refused("no rich text", TRtfLimits());
  ASSERT_TRUE(WaitFor(refused));
  EXPECT_EQ(refused.Result().error, QStringLiteral("The file is not a rich text document"));

  QByteArray large = "{\\rtf1 ";
  while (large.size() < 8 * 1000 * 1000) large += "{\\b word} word\\par ";
  large += "}";
  {
    // Cancelled: finished soon, with nothing of the text.
    TRtfParseJob job(large, TRtfLimits());
    job.Cancel();
    ASSERT_TRUE(WaitFor(job));
    EXPECT_TRUE(job.Result().cancelled);
    EXPECT_EQ(job.Result().error, QStringLiteral("Reading the rich text document was cancelled"));
    EXPECT_TRUE(job.Result().content.text.isEmpty());
  }
  // Destroyed while its thread reads: the thread stops and is joined (a sanitizer build would
  // report anything it touched afterwards).
  for (int i = 0; i < 3; ++i) TRtfParseJob job(large, TRtfLimits());
}

TEST(RtfWriter, RoundTripKeepsTextAndFormatting) {
  QTextDocument original;
  QTextCursor cursor(&original);
  auto add = [&cursor](const QString &text, auto change) {
    QTextCharFormat format;
    change(format);
    cursor.insertText(text, format);
  };
  add(QStringLiteral("Plain {braces} \\ back "), [](QTextCharFormat &) {});
  add(QStringLiteral("bold"), [](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });
  add(QStringLiteral(" italic"), [](QTextCharFormat &f) { f.setFontItalic(true); });
  add(QStringLiteral(" under"), [](QTextCharFormat &f) { f.setFontUnderline(true); });
  add(QStringLiteral(" struck"), [](QTextCharFormat &f) { f.setFontStrikeOut(true); });
  add(QStringLiteral(" Courier 9.5"), [](QTextCharFormat &f) {
    f.setFontFamilies({QStringLiteral("Courier New")});
    f.setFontPointSize(9.5);
  });
  add(QStringLiteral(" blue"), [](QTextCharFormat &f) { f.setForeground(QColor(10, 20, 200)); });
  QTextBlockFormat centered;
  centered.setAlignment(Qt::AlignHCenter);
  cursor.insertBlock(centered);
  add(QStringLiteral("caf\u00e9 \u20ac \u03a9 \U0001F600\ttab\u2028soft"),
      [](QTextCharFormat &f) { f.setFontFamilies({QStringLiteral("Caf\u00e9 Sans")}); });
  QTextBlockFormat right;
  right.setAlignment(Qt::AlignRight);
  cursor.insertBlock(right);
  add(QStringLiteral("right"), [](QTextCharFormat &) {});
  cursor.insertBlock(QTextBlockFormat());  // an empty last paragraph

  const QByteArray rtf = TRtfWriter::Write(original);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
  for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80);  // 7-bit clean

  QTextDocument copy;
  TRtfReader reader;
  ASSERT_TRUE(reader.Read(rtf, copy)) << reader.Error().toStdString();
  ASSERT_EQ(copy.toPlainText(), original.toPlainText());
  ASSERT_EQ(copy.blockCount(), original.blockCount());
  for (QTextBlock a = original.begin(), b = copy.begin(); a.isValid(); a = a.next(), b = b.next())
    EXPECT_EQ(a.blockFormat().alignment(), b.blockFormat().alignment()) << a.text().toStdString();
  QTextCursor at(&original);
  QTextCursor bt(&copy);
  for (int i = 1; i < original.characterCount(); ++i) {
    at.setPosition(i);
    bt.setPosition(i);
    const QTextCharFormat fa = at.charFormat();
    const QTextCharFormat fb = bt.charFormat();
    SCOPED_TRACE(i);
    EXPECT_EQ(fa.fontWeight() >= QFont::DemiBold, fb.fontWeight() >= QFont::DemiBold);
    EXPECT_EQ(fa.fontItalic(), fb.fontItalic());
    EXPECT_EQ(fa.fontUnderline(), fb.fontUnderline());
    EXPECT_EQ(fa.fontStrikeOut(), fb.fontStrikeOut());
    EXPECT_EQ(Family(fa), Family(fb));
    EXPECT_EQ(fa.fontPointSize(), fb.fontPointSize());
    EXPECT_EQ(fa.foreground().color(), fb.foreground().color());
  }
  // Writing what was read gives the same bytes again.
  EXPECT_EQ(TRtfWriter::Write(copy), rtf);
}
