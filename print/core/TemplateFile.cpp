// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/core/TemplateFile.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <cmath>

#include "documents/core/SafeSave.h"
#include "platform/core/LineEnds.h"

namespace TemplateFile {
namespace {

const QLatin1String kMagic("VellumixReport");

// One statement: its keyword and key=value fields (values may be quoted with "...", where
// \" and \\ stand for themselves).
struct TStatement {
  QString keyword;
  QHash<QString, QString> fields;
};

class TParseError {
 public:
  explicit TParseError(QString text) : text_(std::move(text)) {}
  const QString &Text() const { return text_; }

 private:
  QString text_;
};

TStatement SplitStatement(const QString &line) {
  TStatement statement;
  qsizetype i = 0;
  const qsizetype n = line.size();
  auto skipBlanks = [&] {
    while (i < n && line[i].isSpace()) ++i;
  };
  skipBlanks();
  while (i < n && !line[i].isSpace()) statement.keyword += line[i++];
  for (skipBlanks(); i < n; skipBlanks()) {
    QString key;
    while (i < n && line[i] != u'=' && !line[i].isSpace()) key += line[i++];
    if (i >= n || line[i] != u'=' || key.isEmpty())
      throw TParseError(QStringLiteral("expected key=value, found \"%1\"").arg(key));
    ++i;
    QString value;
    if (i < n && line[i] == u'"') {
      ++i;
      bool closed = false;
      while (i < n) {
        const QChar c = line[i++];
        if (c == u'"') {
          closed = true;
          break;
        }
        if (c == u'\\' && i < n)
          value += line[i++];
        else
          value += c;
      }
      if (!closed) throw TParseError(QStringLiteral("unterminated quoted value"));
    } else {
      while (i < n && !line[i].isSpace()) value += line[i++];
    }
    if (statement.fields.contains(key))
      throw TParseError(QStringLiteral("\"%1\" given twice").arg(key));
    statement.fields.insert(key, value);
  }
  return statement;
}

class TFields {
 public:
  explicit TFields(const TStatement &s) : s_(s) {}

  QString Text(const QString &key, const QString &fallback) const {
    return s_.fields.value(key, fallback);
  }
  double Number(const QString &key, double fallback, double low, double high) const {
    if (!s_.fields.contains(key)) return fallback;
    bool ok = false;
    const double value = s_.fields.value(key).toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < low || value > high)
      throw TParseError(QStringLiteral("%1=%2 is not a number from %3 to %4")
                            .arg(key, s_.fields.value(key))
                            .arg(low)
                            .arg(high));
    return value;
  }
  bool Flag(const QString &key, bool fallback) const {
    if (!s_.fields.contains(key)) return fallback;
    const QString v = s_.fields.value(key);
    if (v != QLatin1String("0") && v != QLatin1String("1"))
      throw TParseError(QStringLiteral("%1 must be 0 or 1").arg(key));
    return v == QLatin1String("1");
  }
  QColor Color(const QString &key, const QColor &fallback) const {
    if (!s_.fields.contains(key)) return fallback;
    const QString v = s_.fields.value(key);
    const QColor color = QColor::fromString(v);
    if (v.size() != 7 || !v.startsWith(u'#') || !color.isValid())
      throw TParseError(QStringLiteral("%1=%2 is not a colour #rrggbb").arg(key, v));
    return color;
  }
  // Fails on a field the statement does not know (a misspelling would else pass silently).
  void OnlyKnown(std::initializer_list<const char *> known) const {
    for (auto it = s_.fields.cbegin(); it != s_.fields.cend(); ++it) {
      bool found = false;
      for (const char *k : known) found = found || it.key() == QLatin1String(k);
      if (!found) throw TParseError(QStringLiteral("unknown field \"%1\"").arg(it.key()));
    }
  }

 private:
  const TStatement &s_;
};

TPageSetup ParsePage(const TFields &f) {
  f.OnlyKnown({"size", "orientation", "left", "top", "right", "bottom"});
  TPageSetup page;
  page.size = f.Text(QStringLiteral("size"), page.size);
  if (TPageSetup::PortraitSize(page.size).isEmpty())
    throw TParseError(QStringLiteral("unknown paper size \"%1\"").arg(page.size));
  const QString orientation = f.Text(QStringLiteral("orientation"), QStringLiteral("portrait"));
  if (orientation != QLatin1String("portrait") && orientation != QLatin1String("landscape"))
    throw TParseError(QStringLiteral("orientation must be portrait or landscape"));
  page.landscape = orientation == QLatin1String("landscape");
  page.left = f.Number(QStringLiteral("left"), page.left, 0, 100);
  page.top = f.Number(QStringLiteral("top"), page.top, 0, 100);
  page.right = f.Number(QStringLiteral("right"), page.right, 0, 100);
  page.bottom = f.Number(QStringLiteral("bottom"), page.bottom, 0, 100);
  const QRectF content = page.ContentRect();
  if (content.width() < 10 || content.height() < 10)
    throw TParseError(QStringLiteral("the margins leave no room on the page"));
  return page;
}

TReportBand ParseBand(const TFields &f) {
  f.OnlyKnown({"kind", "height"});
  TReportBand band;
  const QString kind = f.Text(QStringLiteral("kind"), QString());
  bool known = false;
  for (TBandKind k : {TBandKind::PageHeader, TBandKind::Data, TBandKind::PageFooter})
    if (kind == BandKindName(k)) {
      band.kind = k;
      known = true;
    }
  if (!known) throw TParseError(QStringLiteral("unknown band kind \"%1\"").arg(kind));
  band.height = f.Number(QStringLiteral("height"), band.height, 0, MaxLength);
  return band;
}

TReportObject ParseObject(const TStatement &s, const TFields &f) {
  TReportObject object;
  object.kind = s.keyword == QLatin1String("text") ? TObjectKind::Text : TObjectKind::Line;
  if (object.kind == TObjectKind::Text)
    f.OnlyKnown(
        {"x", "y", "w", "h", "font", "size", "bold", "italic", "color", "align", "frame", "width"});
  else
    f.OnlyKnown({"x", "y", "w", "h", "width", "color"});
  const double x = f.Number(QStringLiteral("x"), 0, 0, MaxLength);
  const double y = f.Number(QStringLiteral("y"), 0, 0, MaxLength);
  const double w = f.Number(QStringLiteral("w"), 0, 0, MaxLength);
  const double h = f.Number(QStringLiteral("h"), 0, 0, MaxLength);
  object.rect = QRectF(x, y, w, h);
  object.lineWidth = f.Number(QStringLiteral("width"), object.lineWidth, 0, 10);
  object.font.color = f.Color(QStringLiteral("color"), object.font.color);
  if (object.kind == TObjectKind::Line) return object;
  object.font.name = f.Text(QStringLiteral("font"), object.font.name);
  if (object.font.name.isEmpty() || object.font.name.size() > 64)
    throw TParseError(QStringLiteral("a font name must have 1 to 64 characters"));
  object.font.size = f.Number(QStringLiteral("size"), object.font.size, 1, 200);
  object.font.bold = f.Flag(QStringLiteral("bold"), false);
  object.font.italic = f.Flag(QStringLiteral("italic"), false);
  object.frame = f.Flag(QStringLiteral("frame"), false);
  const QString align = f.Text(QStringLiteral("align"), QStringLiteral("left"));
  bool known = false;
  for (THAlign a : {THAlign::Left, THAlign::Center, THAlign::Right})
    if (align == AlignName(a)) {
      object.align = a;
      known = true;
    }
  if (!known) throw TParseError(QStringLiteral("unknown alignment \"%1\"").arg(align));
  return object;
}

TReportTemplate ParseLines(const QStringList &lines) {
  if (lines.isEmpty()) throw TParseError(QStringLiteral("the file is empty"));
  const QStringList head = lines.first().split(u' ', Qt::SkipEmptyParts);
  if (head.isEmpty() || head.first() != kMagic)
    throw TParseError(QStringLiteral("it does not start with \"VellumixReport\""));
  const QString version = head.size() == 2 ? head[1] : head.mid(1).join(u' ');
  if (version != QString::number(Version))
    throw TParseError(QStringLiteral("version \"%1\" is not supported").arg(version));

  TReportTemplate report;
  // Where each band and object was written, to name the line of one that does not fit.
  std::vector<qsizetype> bandLine;
  std::vector<std::vector<qsizetype>> objectLine;
  bool pageSeen = false;
  TReportBand *band = nullptr;
  TReportObject *text = nullptr;
  for (qsizetype n = 1; n < lines.size(); ++n) {
    const QString &line = lines[n];
    try {
      if (line.startsWith(u'|')) {
        if (!text) throw TParseError(QStringLiteral("a text line outside a text object"));
        if (text->lines.size() >= MaxLinesPerObject)
          throw TParseError(QStringLiteral("too many text lines"));
        if (line.size() > 1 && line[1] != u' ')
          throw TParseError(QStringLiteral("a text line must start with \"| \""));
        text->lines << line.mid(2);
        continue;
      }
      text = nullptr;
      if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#')) continue;
      const TStatement s = SplitStatement(line);
      const TFields f(s);
      if (s.keyword == QLatin1String("page")) {
        if (pageSeen) throw TParseError(QStringLiteral("a second page statement"));
        report.page = ParsePage(f);
        pageSeen = true;
      } else if (s.keyword == QLatin1String("band")) {
        const TReportBand parsed = ParseBand(f);
        if (report.Band(parsed.kind))
          throw TParseError(QStringLiteral("a second %1 band").arg(BandKindName(parsed.kind)));
        if (!report.bands.empty() && int(report.bands.back().kind) > int(parsed.kind))
          throw TParseError(QStringLiteral("bands must be in header, data, footer order"));
        report.bands.push_back(parsed);
        band = &report.bands.back();
        bandLine.push_back(n + 1);
        objectLine.emplace_back();
      } else if (s.keyword == QLatin1String("text") || s.keyword == QLatin1String("line")) {
        if (!band) throw TParseError(QStringLiteral("an object outside a band"));
        if (band->objects.size() >= size_t(MaxObjectsPerBand))
          throw TParseError(QStringLiteral("too many objects in one band"));
        band->objects.push_back(ParseObject(s, f));
        objectLine.back().push_back(n + 1);
        if (band->objects.back().kind == TObjectKind::Text) text = &band->objects.back();
      } else {
        throw TParseError(QStringLiteral("unknown statement \"%1\"").arg(s.keyword));
      }
    } catch (const TParseError &e) {
      throw TParseError(QStringLiteral("line %1: %2").arg(n + 1).arg(e.Text()));
    }
  }
  if (!pageSeen) throw TParseError(QStringLiteral("it has no page statement"));
  // Bands and objects must fit the page, or the layout would put them off the sheet (or give
  // every page a single line of text).
  const QRectF content = report.page.ContentRect();
  double total = 0;
  for (size_t b = 0; b < report.bands.size(); ++b) {
    const TReportBand &placed = report.bands[b];
    total += placed.height;
    if (total > content.height() + 0.01)
      throw TParseError(
          QStringLiteral("line %1: the bands are %2 mm tall, the page has room for %3 mm")
              .arg(bandLine[b])
              .arg(total, 0, 'f', 1)
              .arg(content.height(), 0, 'f', 1));
    for (size_t o = 0; o < placed.objects.size(); ++o)
      if (!ObjectFits(placed.objects[o], content.width(), placed.height))
        throw TParseError(QStringLiteral("line %1: the object does not fit inside its band")
                              .arg(objectLine[b][o]));
  }
  return report;
}

QString Quoted(const QString &text) {
  QString out = QStringLiteral("\"");
  for (QChar c : text) {
    if (c == u'"' || c == u'\\') out += u'\\';
    out += c;
  }
  return out + u'"';
}

QString Number(double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); }

}  // namespace

std::optional<TReportTemplate> Parse(const QByteArray &bytes, QString *error) {
  try {
    if (bytes.size() > MaxFileSize) throw TParseError(QStringLiteral("the file is too large"));
    if (bytes.contains('\0')) throw TParseError(QStringLiteral("the file holds binary data"));
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    QStringList lines = LineEnds::ToNewlines(text).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return ParseLines(lines);
  } catch (const TParseError &e) {
    if (error) *error = e.Text();
    return std::nullopt;
  }
}

QByteArray Format(const TReportTemplate &report) {
  QString out = QStringLiteral("%1 %2\n").arg(kMagic).arg(Version);
  const TPageSetup &p = report.page;
  out += QStringLiteral("page size=%1 orientation=%2 left=%3 top=%4 right=%5 bottom=%6\n")
             .arg(p.size, p.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"),
                  Number(p.left), Number(p.top), Number(p.right), Number(p.bottom));
  for (const TReportBand &band : report.bands) {
    out += QStringLiteral("band kind=%1 height=%2\n")
               .arg(BandKindName(band.kind), Number(band.height));
    for (const TReportObject &o : band.objects) {
      const QString box = QStringLiteral("x=%1 y=%2 w=%3 h=%4")
                              .arg(Number(o.rect.x()), Number(o.rect.y()), Number(o.rect.width()),
                                   Number(o.rect.height()));
      const QString color = o.font.color.name(QColor::HexRgb);
      if (o.kind == TObjectKind::Line) {
        out += QStringLiteral("line %1 width=%2 color=%3\n").arg(box, Number(o.lineWidth), color);
        continue;
      }
      out += QStringLiteral(
                 "text %1 font=%2 size=%3 bold=%4 italic=%5 color=%6 align=%7 frame=%8 width=%9\n")
                 .arg(box, Quoted(o.font.name), Number(o.font.size),
                      QString::number(int(o.font.bold)), QString::number(int(o.font.italic)), color,
                      AlignName(o.align), QString::number(int(o.frame)), Number(o.lineWidth));
      for (const QString &line : o.lines) {
        // A line break inside a line would split it into statements when read back.
        QString one = line;
        one.replace(u'\r', u' ').replace(u'\n', u' ');
        out += one.isEmpty() ? QStringLiteral("|\n") : QStringLiteral("| ") + one + u'\n';
      }
    }
  }
  return out.toUtf8();
}

std::optional<TReportTemplate> Load(const QString &fileName, QString *error) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = QStringLiteral("Cannot open file ") + fileName;
    return std::nullopt;
  }
  const QByteArray bytes = file.read(MaxFileSize + 1);
  QString reason;
  std::optional<TReportTemplate> report = Parse(bytes, &reason);
  if (!report && error)
    *error = fileName + QStringLiteral(" is not a valid print template: ") + reason;
  return report;
}

bool Save(const QString &fileName, const TReportTemplate &report, QString *error) {
  TSafeSave save;
  const TSaveOutcome outcome = save.Save(fileName, Format(report));
  if (outcome.Saved()) return true;
  if (error) {
    QString text = outcome.error;
    while (text.endsWith(u'.')) text.chop(1);
    if (!outcome.detail.isEmpty()) text += QStringLiteral(".\r") + outcome.detail;
    while (text.endsWith(u'.')) text.chop(1);
    *error = text;
  }
  return false;
}

}  // namespace TemplateFile
