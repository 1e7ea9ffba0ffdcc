// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/RtfParser.h"

#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <climits>
#include <vector>

#include "platform/core/CodePage.h"

namespace {

enum class TDestination { Text, Skip, FontTable, ColorTable };

struct TCharacterState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int font = -1;       // font number; -1 the default font
  int halfPoints = 0;  // 0: not given
  int color = 0;       // index into the colour table; 0 the automatic colour
  bool operator==(const TCharacterState &) const = default;
};

struct TGroupState {
  TCharacterState character;
  Qt::Alignment alignment = Qt::AlignLeft;
  TDestination destination = TDestination::Text;
  int unicodeSkip = 1;
};

struct TFont {
  QString name;
  int codePage = 0;  // 0: the document's
};

// A colour table entry; invalid for the automatic colour.
struct TColor {
  bool valid = false;
  uint32_t rgb = 0;
};

// Characters that a document takes as the end of a paragraph or of a frame.
bool BreaksBlocks(QChar c) {
  const char16_t u = c.unicode();
  return u == u'\n' || u == u'\r' || u == 0x2029 || u == 0xFDD0 || u == 0xFDD1;
}

// The code page of a font character set (the values RTF uses), 0 when unknown.
int CharsetCodePage(int charset) {
  static const QHash<int, int> table = {
      {0, 1252},   {2, 1252},   {77, 10000}, {128, 932},  {129, 949},  {134, 936},
      {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
      {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437}};
  return table.value(charset, 0);
}

// Decodes bytes in a Windows code page: 1252 and 437 from the program's own tables, others
// through the platform's converters when it has them, else as 1252.
QString DecodeCodePage(QByteArrayView bytes, int codePage) {
  if (codePage == 437) return CodePage::FromOem437(bytes);
  if (codePage != 1252 && codePage != 0) {
    const QByteArray name =
        codePage == 10000 ? QByteArray("macintosh") : "windows-" + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (decoder.isValid()) {
      QString text = decoder.decode(bytes);
      if (!decoder.hasError()) return text;
    }
  }
  return CodePage::FromWindows1252(bytes);
}

class TRtfParser {
 public:
  TRtfParser(QByteArrayView input, const TRtfLimits &limits, const RtfParser::TProgress &progress)
      : in_(input), limits_(limits), progress_(progress) {}

  // Reads the whole input into content. Empty on success, else the error text.
  QString Run();
  TRtfContent &Content() { return content_; }
  bool Truncated() const { return truncated_; }
  bool FormattingDropped() const { return formattingDropped_; }
  bool Cancelled() const { return cancelled_; }

 private:
  void Step();
  void ControlWord(const QByteArray &word, bool hasParameter, int parameter);
  void ControlSymbol(char symbol);
  void PlainCharacter(char c);
  void AppendText(QStringView text);
  void AppendPlainText(QStringView text);
  void FlushBytes();
  void FlushText();
  void EndParagraph();
  bool SkipOne();
  int FormatIndex();
  int CurrentCodePage() const;
  void FinishFontEntry();
  void FinishColorEntry();
  bool Report(int perMille);

  QByteArrayView in_;
  qsizetype pos_ = 0;
  TRtfLimits limits_;
  const RtfParser::TProgress &progress_;
  QString error_;
  bool cancelled_ = false;
  TRtfContent content_;
  std::vector<TGroupState> groups_;
  TGroupState state_;
  bool groupStart_ = false;   // the next control word is the first of its group
  int skipCount_ = 0;         // characters to skip after \u
  QByteArray pendingBytes_;   // code-page bytes not yet decoded
  QString pendingText_;       // text not yet given a run
  qsizetype characters_ = 0;  // characters read (a paragraph break counts one)
  bool truncated_ = false;
  bool formattingDropped_ = false;
  bool paragraphOpen_ = false;                        // text since the last \par
  Qt::Alignment paragraphAlignment_ = Qt::AlignLeft;  // of the text since the last \par
  int runsInParagraph_ = 0;
  int nextBlockFormat_ = -1;  // the format of the block the next paragraph starts
  // The format of the last run made, for the usual case of an unchanged format.
  TCharacterState lastState_;
  int lastTables_ = -1;
  int lastFormat_ = -1;
  QHash<TRtfCharFormat, int> formatIndex_;
  int tables_ = 0;  // changes of the font and colour tables so far
  int defaultFont_ = -1;
  int documentCodePage_ = 1252;
  QHash<int, TFont> fonts_;
  int fontNumber_ = -1;  // the font table entry being read
  QString fontName_;
  int fontCharset_ = -1;
  std::vector<TColor> colors_;
  int red_ = -1, green_ = -1, blue_ = -1;
};

bool TRtfParser::Report(int perMille) {
  if (!progress_ || progress_(perMille)) return true;
  cancelled_ = true;
  error_ = QStringLiteral("Reading the rich text document was cancelled");
  return false;
}

QString TRtfParser::Run() {
  // Leading blanks (and a UTF-8 byte-order mark) are tolerated before the opening group.
  qsizetype start = 0;
  if (in_.size() >= 3 && in_.first(3) == QByteArrayView("\xEF\xBB\xBF")) start = 3;
  while (start < in_.size() &&
         (in_[start] == ' ' || in_[start] == '\r' || in_[start] == '\n' || in_[start] == '\t'))
    ++start;
  if (in_.size() - start < 5 || in_.sliced(start, 5) != QByteArrayView("{\\rtf"))
    return QStringLiteral("The file is not a rich text document");
  pos_ = start;

  // Progress is told every this many bytes.
  constexpr qsizetype reportEvery = qsizetype{256} * 1024;
  qsizetype nextReport = pos_ + reportEvery;
  while (pos_ < in_.size() && !truncated_ && error_.isEmpty()) {
    Step();
    if (pos_ >= nextReport) {
      nextReport = pos_ + reportEvery;
      if (!Report(int(pos_ * 1000 / in_.size()))) break;
    }
  }
  if (!error_.isEmpty()) return error_;
  FlushText();
  // The last paragraph; writers end it with \par, which leaves an empty one after it that is
  // not part of the text.
  const qsizetype start0 = content_.paragraphs.empty() ? 0 : content_.paragraphs.back().end;
  if (content_.paragraphs.empty() || content_.text.size() > start0)
    content_.paragraphs.push_back({content_.text.size(),
                                   paragraphOpen_ ? paragraphAlignment_ : Qt::Alignment(),
                                   nextBlockFormat_});
  return QString();
}

void TRtfParser::Step() {
  const char c = in_[pos_];
  if (c == '{') {
    ++pos_;
    FlushText();
    if (int(groups_.size()) >= limits_.maxGroupDepth) {
      error_ = QStringLiteral("The rich text document is nested too deeply");
      return;
    }
    groups_.push_back(state_);
    groupStart_ = true;
    skipCount_ = 0;
    return;
  }
  if (c == '}') {
    ++pos_;
    FlushText();
    if (state_.destination == TDestination::FontTable) FinishFontEntry();
    skipCount_ = 0;
    groupStart_ = false;
    if (groups_.empty()) {
      pos_ = in_.size();
      return;
    }
    const TDestination inner = state_.destination;
    state_ = groups_.back();
    groups_.pop_back();
    // Leaving a font entry's own group inside the table ends that entry.
    if (inner == TDestination::FontTable && state_.destination == TDestination::FontTable)
      FinishFontEntry();
    if (groups_.empty()) pos_ = in_.size();  // the end of the document's group
    return;
  }
  if (c == '\\') {
    ++pos_;
    if (pos_ >= in_.size()) return;
    const char next = in_[pos_];
    if (std::isalpha(static_cast<unsigned char>(next))) {
      const qsizetype wordStart = pos_;
      while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_]))) ++pos_;
      const QByteArray word =
          in_.sliced(wordStart, std::min<qsizetype>(pos_ - wordStart, 32)).toByteArray();
      bool negative = false;
      bool hasParameter = false;
      qint64 value = 0;
      if (pos_ < in_.size() && in_[pos_] == '-') {
        negative = true;
        ++pos_;
      }
      while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
        hasParameter = true;
        if (value < 100000000000LL) value = value * 10 + (in_[pos_] - '0');
        ++pos_;
      }
      if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
      value = std::clamp<qint64>(negative ? -value : value, INT_MIN, INT_MAX);
      ControlWord(word, hasParameter, int(value));
    } else {
      ++pos_;
      ControlSymbol(next);
    }
    groupStart_ = false;
    return;
  }
  ++pos_;
  if (c == '\r' || c == '\n' || c == '\0') return;
  PlainCharacter(c);
}

int TRtfParser::CurrentCodePage() const {
  const int font = state_.character.font >= 0 ? state_.character.font : defaultFont_;
  const auto it = fonts_.constFind(font);
  if (it != fonts_.constEnd() && it->codePage != 0) return it->codePage;
  return documentCodePage_;
}

bool TRtfParser::SkipOne() {
  if (skipCount_ <= 0) return false;
  --skipCount_;
  return true;
}

void TRtfParser::PlainCharacter(char c) {
  if (SkipOne()) return;
  switch (state_.destination) {
    case TDestination::Skip:
      return;
    case TDestination::FontTable:
      if (c == ';')
        FinishFontEntry();
      else
        fontName_ += QChar::fromLatin1(c);
      return;
    case TDestination::ColorTable:
      if (c == ';') FinishColorEntry();
      return;
    case TDestination::Text:
      break;
  }
  if (static_cast<unsigned char>(c) >= 0x80) {
    pendingBytes_ += c;
    return;
  }
  FlushBytes();
  if (c == '\t') {
    AppendText(u"\t");
    return;
  }
  const char16_t ch = char16_t(static_cast<unsigned char>(c));
  AppendText(QStringView(&ch, 1));
}

void TRtfParser::AppendText(QStringView text) {
  if (state_.destination != TDestination::Text || text.isEmpty()) return;
  // A line feed or paragraph separator from an escape ends the paragraph as \par does; other
  // characters the document would take as block or frame breaks are dropped.
  while (!text.isEmpty()) {
    const auto brk = std::find_if(text.begin(), text.end(), BreaksBlocks);
    AppendPlainText(text.first(brk - text.begin()));
    if (brk == text.end() || !error_.isEmpty()) return;
    if (*brk == u'\n' || *brk == QChar::ParagraphSeparator) EndParagraph();
    text = text.sliced(brk - text.begin() + 1);
  }
}

void TRtfParser::AppendPlainText(QStringView text) {
  if (text.isEmpty() || truncated_) return;
  if (characters_ + text.size() > limits_.maxCharacters) {
    text = text.first(std::max<qsizetype>(limits_.maxCharacters - characters_, 0));
    truncated_ = true;
  }
  pendingText_ += text;
  characters_ += text.size();
  paragraphOpen_ = true;
  paragraphAlignment_ = state_.alignment;
}

void TRtfParser::FlushBytes() {
  if (pendingBytes_.isEmpty()) return;
  const QByteArray bytes = std::exchange(pendingBytes_, QByteArray());
  AppendText(DecodeCodePage(bytes, CurrentCodePage()));
}

void TRtfParser::FlushText() {
  FlushBytes();
  if (pendingText_.isEmpty()) return;
  const int format = FormatIndex();
  content_.text += pendingText_;
  pendingText_.clear();
  std::vector<TRtfContent::TRun> &runs = content_.runs;
  // A run in the format of the one before extends it. So does any run beyond the bounds on
  // runs (a layout takes time that grows with the square of a paragraph's runs): its
  // formatting is given up, its text is kept.
  const bool bounded =
      runsInParagraph_ >= limits_.maxRunsPerParagraph || qsizetype(runs.size()) >= limits_.maxRuns;
  if (!runs.empty() && (runs.back().format == format || bounded)) {
    if (runs.back().format != format) formattingDropped_ = true;
    runs.back().end = content_.text.size();
    return;
  }
  runs.push_back({content_.text.size(), format});
  ++runsInParagraph_;
}

int TRtfParser::FormatIndex() {
  if (lastFormat_ >= 0 && lastTables_ == tables_ && lastState_ == state_.character)
    return lastFormat_;
  const TCharacterState &ch = state_.character;
  TRtfCharFormat key;
  key.bold = ch.bold;
  key.italic = ch.italic;
  key.underline = ch.underline;
  key.strike = ch.strike;
  key.halfPoints = ch.halfPoints;
  const int font = ch.font >= 0 ? ch.font : defaultFont_;
  if (const auto it = fonts_.constFind(font); it != fonts_.constEnd()) key.family = it->name;
  if (ch.color > 0 && ch.color < int(colors_.size()) && colors_[size_t(ch.color)].valid) {
    key.hasColor = true;
    key.rgb = colors_[size_t(ch.color)].rgb;
  }
  auto found = formatIndex_.constFind(key);
  if (found == formatIndex_.constEnd()) {
    found = formatIndex_.insert(key, int(content_.formats.size()));
    content_.formats.push_back(key);
  }
  lastState_ = ch;
  lastTables_ = tables_;
  lastFormat_ = *found;
  return lastFormat_;
}

void TRtfParser::EndParagraph() {
  FlushText();
  if (truncated_ || characters_ >= limits_.maxCharacters) {
    truncated_ = true;
    return;
  }
  if (qsizetype(content_.paragraphs.size()) + 1 >= limits_.maxParagraphs) {
    error_ = QStringLiteral(
                 "The rich text document has more paragraphs than a workspace can "
                 "hold (at most %1)")
                 .arg(QLocale(QLocale::English).toString(limits_.maxParagraphs));
    return;
  }
  content_.paragraphs.push_back({content_.text.size(), state_.alignment, nextBlockFormat_});
  nextBlockFormat_ = FormatIndex();
  ++characters_;
  paragraphOpen_ = false;
  runsInParagraph_ = 0;
}

void TRtfParser::FinishFontEntry() {
  if (fontNumber_ >= 0) {
    TFont font;
    font.name = fontName_.trimmed();
    font.codePage = fontCharset_ >= 0 ? CharsetCodePage(fontCharset_) : 0;
    if (fonts_.size() < 4096) fonts_.insert(fontNumber_, font);
    ++tables_;
  }
  fontNumber_ = -1;
  fontName_.clear();
  fontCharset_ = -1;
}

void TRtfParser::FinishColorEntry() {
  if (colors_.size() < 4096) {
    if (red_ < 0 && green_ < 0 && blue_ < 0)
      colors_.push_back(TColor());
    else
      colors_.push_back({true, uint32_t(std::clamp(red_, 0, 255)) << 16 |
                                   uint32_t(std::clamp(green_, 0, 255)) << 8 |
                                   uint32_t(std::clamp(blue_, 0, 255))});
  }
  red_ = green_ = blue_ = -1;
  ++tables_;
}

void TRtfParser::ControlSymbol(char symbol) {
  if (symbol == '*') {
    // An ignorable destination: none of the ones marked so carries text shown here.
    state_.destination = TDestination::Skip;
    return;
  }
  if (symbol == '\'') {
    // Two hex digits; a broken escape is dropped.
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < in_.size() &&
           std::isxdigit(static_cast<unsigned char>(in_[pos_]))) {
      const char d = char(std::tolower(static_cast<unsigned char>(in_[pos_])));
      value = value * 16 + (d <= '9' ? d - '0' : d - 'a' + 10);
      ++pos_;
      ++digits;
    }
    if (SkipOne() || digits == 0) return;
    if (state_.destination == TDestination::FontTable) {
      fontName_ += DecodeCodePage(QByteArray(1, char(value)), documentCodePage_);
      return;
    }
    if (state_.destination == TDestination::Text) pendingBytes_ += char(value);
    return;
  }
  if (SkipOne()) return;
  FlushBytes();
  switch (symbol) {
    case '\\':
    case '{':
    case '}': {
      const char16_t ch = char16_t(symbol);
      if (state_.destination == TDestination::FontTable)
        fontName_ += QChar(ch);
      else
        AppendText(QStringView(&ch, 1));
      return;
    }
    case '~':
      AppendText(u"\u00A0");
      return;
    case '_':
      AppendText(u"\u2011");
      return;
    case '\r':
    case '\n':
      if (state_.destination == TDestination::Text) EndParagraph();
      return;
    case '\t':
      AppendText(u"\t");
      return;
    default:
      return;  // optional hyphen and other symbols without text
  }
}

void TRtfParser::ControlWord(const QByteArray &word, bool hasParameter, int parameter) {
  const bool first = groupStart_;
  // Destinations whose text is not part of the document.
  static const QSet<QByteArray> skipped = {"stylesheet",   "info",
                                           "pict",         "object",
                                           "header",       "headerl",
                                           "headerr",      "headerf",
                                           "footer",       "footerl",
                                           "footerr",      "footerf",
                                           "footnote",     "fldinst",
                                           "listtable",    "listoverridetable",
                                           "rsidtbl",      "revtbl",
                                           "generator",    "xmlnstbl",
                                           "themedata",    "colorschememapping",
                                           "latentstyles", "datastore",
                                           "pntxta",       "pntxtb",
                                           "pn",           "bkmkstart",
                                           "bkmkend",      "filetbl",
                                           "pgdsctbl",     "annotation",
                                           "atnid",        "atnauthor",
                                           "template",     "xe",
                                           "tc",           "txe",
                                           "nonshppict",   "shpinst",
                                           "ftnsep",       "ftnsepc",
                                           "ftncn",        "aftnsep",
                                           "aftnsepc",     "aftncn",
                                           "mmathPr",      "docvar",
                                           "userprops",    "defchp",
                                           "defpap",       "fchars",
                                           "lchars",       "objdata",
                                           "blipuid",      "panose",
                                           "falt"};
  if (first && skipped.contains(word)) {
    FlushText();
    state_.destination = TDestination::Skip;
    return;
  }
  if (word == "fonttbl") {
    FlushText();
    state_.destination = TDestination::FontTable;
    return;
  }
  if (word == "colortbl") {
    FlushText();
    state_.destination = TDestination::ColorTable;
    return;
  }
  if (state_.destination == TDestination::Skip) {
    if (word == "bin" && hasParameter && parameter > 0)
      pos_ += std::min<qsizetype>(parameter, in_.size() - pos_);
    return;
  }
  if (state_.destination == TDestination::FontTable) {
    if (word == "f") {
      FinishFontEntry();
      fontNumber_ = parameter;
    } else if (word == "fcharset") {
      fontCharset_ = parameter;
    } else if (word == "u" && hasParameter) {
      fontName_ += QChar(char16_t(parameter < 0 ? parameter + 65536 : parameter));
      skipCount_ = state_.unicodeSkip;
    }
    return;
  }
  if (state_.destination == TDestination::ColorTable) {
    if (word == "red") red_ = parameter;
    if (word == "green") green_ = parameter;
    if (word == "blue") blue_ = parameter;
    return;
  }

  if (word == "u" && hasParameter) {
    if (SkipOne()) return;
    FlushBytes();
    const char16_t ch = char16_t(parameter < 0 ? parameter + 65536 : parameter);
    AppendText(QStringView(&ch, 1));
    skipCount_ = state_.unicodeSkip;
    return;
  }
  if (SkipOne()) return;
  FlushBytes();

  // Text-producing words.
  static const QHash<QByteArray, char16_t> symbols = {
      {"tab", u'\t'},         {"line", u'\u2028'},      {"emdash", u'\u2014'},
      {"endash", u'\u2013'},  {"emspace", u'\u2003'},   {"enspace", u'\u2002'},
      {"qmspace", u'\u2005'}, {"bullet", u'\u2022'},    {"lquote", u'\u2018'},
      {"rquote", u'\u2019'},  {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'},
      {"zwj", u'\u200D'},     {"zwnj", u'\u200C'}};
  if (const auto it = symbols.constFind(word); it != symbols.constEnd()) {
    const char16_t ch = *it;
    AppendText(QStringView(&ch, 1));
    return;
  }
  if (word == "par" || word == "sect" || word == "page") {
    EndParagraph();
    return;
  }
  // Table cells: cells that hold whole paragraphs need no separator of their own; cells of
  // running text are separated by tabs, and a row ends its paragraph.
  if (word == "cell" || word == "nestcell") {
    if (paragraphOpen_) AppendText(u"\t");
    return;
  }
  if (word == "row" || word == "nestrow") {
    if (paragraphOpen_) EndParagraph();
    return;
  }
  if (word == "bin") {
    if (hasParameter && parameter > 0) pos_ += std::min<qsizetype>(parameter, in_.size() - pos_);
    return;
  }

  // Document settings.
  if (word == "ansicpg" && hasParameter) {
    if (parameter > 0) documentCodePage_ = parameter;
    return;
  }
  if (word == "pc" || word == "pca") {
    documentCodePage_ = word == "pc" ? 437 : 850;
    return;
  }
  if (word == "deff" && hasParameter) {
    defaultFont_ = parameter;
    return;
  }
  if (word == "uc" && hasParameter) {
    state_.unicodeSkip = std::clamp(parameter, 0, 16);
    return;
  }

  // Formatting changes end the run of text that had the previous formatting.
  FlushText();
  TCharacterState &ch = state_.character;
  const bool on = !hasParameter || parameter != 0;
  if (word == "b")
    ch.bold = on;
  else if (word == "i")
    ch.italic = on;
  else if (word.startsWith("ul") && word != "ulc" && word != "ulnone")
    ch.underline = on;
  else if (word == "ulnone")
    ch.underline = false;
  else if (word == "strike" || word == "striked")
    ch.strike = on;
  else if (word == "f")
    ch.font = parameter;
  else if (word == "fs")
    ch.halfPoints = hasParameter && parameter > 0 && parameter <= 3276 ? parameter : 0;
  else if (word == "cf")
    ch.color = std::max(parameter, 0);
  else if (word == "plain")
    ch = TCharacterState();
  else if (word == "pard" || word == "ql")
    state_.alignment = Qt::AlignLeft;
  else if (word == "qr")
    state_.alignment = Qt::AlignRight;
  else if (word == "qc")
    state_.alignment = Qt::AlignHCenter;
  else if (word == "qj")
    state_.alignment = Qt::AlignJustify;
}

}  // namespace

TRtfParsed RtfParser::Parse(QByteArrayView rtf, const TRtfLimits &limits,
                            const TProgress &progress) {
  TRtfParsed parsed;
  if (rtf.size() > limits.maxInputBytes) {
    parsed.error = QStringLiteral("The rich text document is too large");
    return parsed;
  }
  TRtfParser parser(rtf, limits, progress);
  parsed.error = parser.Run();
  parsed.cancelled = parser.Cancelled();
  if (!parsed.error.isEmpty()) return parsed;
  parsed.content = std::move(parser.Content());
  parsed.truncated = parser.Truncated();
  parsed.formattingDropped = parser.FormattingDropped();
  return parsed;
}
