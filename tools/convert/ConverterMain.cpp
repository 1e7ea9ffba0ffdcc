// A text converter program for the import and export commands (see ConverterProtocol.h):
// vellumix-convert-pandoc hands the work to pandoc, vellumix-convert-office to LibreOffice
// (soffice --headless). Which tool is used is fixed when the program is built.
#include "ConverterProtocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace {

enum TExit { Ok = 0, NotInFormat = 1, Failed = 2, NotOffered = 3 };

constexpr qsizetype kMaxText = 256 * 1024 * 1024;
constexpr int kToolTimeLimitMs = 240000;

bool IsPandoc() { return QStringLiteral(VELLUMIX_CONVERTER_TOOL) == QLatin1String("pandoc"); }

QString Tool() {
  if (IsPandoc()) return QStandardPaths::findExecutable(QStringLiteral("pandoc"));
  QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  return office.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : office;
}

void Say(const QByteArray &bytes) {
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
  std::fflush(stdout);
}

int Fail(const QString &reason) {
  Say(ConverterProtocol::Error(reason));
  QTextStream(stderr) << reason << Qt::endl;
  return Failed;
}

// Runs the tool; false with the reason when it fails.
bool RunTool(const QStringList &args, QString *reason, const QString &workDir = QString()) {
  QProcess tool;
  if (!workDir.isEmpty()) tool.setWorkingDirectory(workDir);
  tool.setProcessChannelMode(QProcess::MergedChannels);
  tool.start(Tool(), args);
  if (!tool.waitForFinished(kToolTimeLimitMs)) {
    tool.kill();
    tool.waitForFinished();
    *reason = QStringLiteral("%1 did not finish").arg(QFileInfo(Tool()).fileName());
    return false;
  }
  if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
    const QString out = QString::fromUtf8(tool.readAll()).trimmed().section(u'\n', -1);
    *reason = QStringLiteral("%1 failed: %2").arg(QFileInfo(Tool()).fileName(), out);
    return false;
  }
  return true;
}

// LibreOffice keeps a profile; each run gets a private one so that a running office or the
// user's own profile is never touched.
QStringList OfficeArgs(const QTemporaryDir &scratch) {
  return {QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
          QStringLiteral("-env:UserInstallation=file://") + scratch.path() + QStringLiteral("/profile")};
}

QByteArray Head(const QString &file, qsizetype size) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.read(size) : QByteArray();
}

bool IsZipWith(const QByteArray &head, const QByteArray &mark) {
  return head.startsWith("PK\x03\x04") && head.contains(mark);
}

bool IsText(const QByteArray &head) {
  if (head.contains('\0')) return false;
  QStringDecoder utf8(QStringDecoder::Utf8);
  (void)utf8.decode(head);
  return !utf8.hasError() || head.size() >= 65536;  // a cut multi-byte character at the end
}

bool InFormat(const QString &format, const QString &file) {
  const QByteArray head = Head(file, 65536);
  const QByteArray lower = head.toLower();
  if (format == QLatin1String("docx")) return IsZipWith(head, "word/document.xml") || IsZipWith(head, "[Content_Types].xml");
  if (format == QLatin1String("odt")) return IsZipWith(head, "application/vnd.oasis.opendocument.text");
  if (format == QLatin1String("epub")) return IsZipWith(head, "application/epub+zip");
  if (format == QLatin1String("html"))
    return IsText(head) && (lower.contains("<html") || lower.contains("<!doctype html") || lower.contains("<body"));
  if (format == QLatin1String("markdown") || format == QLatin1String("latex")) return !head.isEmpty() && IsText(head);
  if (format == QLatin1String("doc") || format == QLatin1String("wps"))
    return head.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"));
  if (format == QLatin1String("wri")) return head.startsWith("\x31\xbe") || head.startsWith("\x32\xbe");
  if (format == QLatin1String("wpd")) return head.startsWith("\xff" "WPC");
  return false;
}

bool Offered(const QString &format, bool exporting) {
  static const QStringList pandoc{QStringLiteral("docx"), QStringLiteral("odt"), QStringLiteral("html"),
                                  QStringLiteral("epub"), QStringLiteral("markdown"), QStringLiteral("latex")};
  if (IsPandoc()) return pandoc.contains(format);
  if (exporting) return format == QLatin1String("doc");
  return QStringList{QStringLiteral("doc"), QStringLiteral("wri"), QStringLiteral("wps"), QStringLiteral("wpd")}
      .contains(format);
}

int Import(const QString &format, const QString &file) {
  QTemporaryDir scratch;
  if (!scratch.isValid()) return Fail(QStringLiteral("no temporary folder"));
  QString reason;
  QString rtfPath;
  if (IsPandoc()) {
    rtfPath = scratch.filePath(QStringLiteral("out.rtf"));
    if (!RunTool({QStringLiteral("-f"), format, QStringLiteral("-t"), QStringLiteral("rtf"), QStringLiteral("-s"),
                  QStringLiteral("-o"), rtfPath, file},
                 &reason))
      return Fail(reason);
  } else {
    // The office names its output after the input; a copy under a fixed name avoids
    // surprises with odd file names.
    const QString input = scratch.filePath(QStringLiteral("in.") + format);
    if (!QFile::copy(file, input)) return Fail(QStringLiteral("cannot read %1").arg(file));
    if (!RunTool(OfficeArgs(scratch) + QStringList{QStringLiteral("--convert-to"), QStringLiteral("rtf"),
                                                   QStringLiteral("--outdir"), scratch.path(), input},
                 &reason, scratch.path()))
      return Fail(reason);
    rtfPath = scratch.filePath(QStringLiteral("in.rtf"));
  }
  QFile rtf(rtfPath);
  if (!rtf.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("the converted document is missing"));
  while (!rtf.atEnd()) Say(ConverterProtocol::Chunks(rtf.read(64 * 1024)));
  Say(ConverterProtocol::Done());
  return Ok;
}

QString HtmlOf(const QString &text) {
  QString html = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title></title></head><body>\n");
  QString normal = text;
  normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  for (const QString &paragraph : normal.split(QStringLiteral("\n\n"))) {
    QStringList lines;
    for (const QString &line : paragraph.split(u'\n')) lines << line.toHtmlEscaped();
    html += QStringLiteral("<p>") + lines.join(QStringLiteral("<br/>\n")) + QStringLiteral("</p>\n");
  }
  return html + QStringLiteral("</body></html>\n");
}

int Export(const QString &format, const QString &file) {
  TChunkReader reader(kMaxText);
  QByteArray text;
  QFile in;
  if (!in.open(stdin, QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read the text"));
  while (reader.State() == TChunkReader::TState::More) {
    const QByteArray bytes = in.read(64 * 1024);
    if (bytes.isEmpty()) return Fail(QStringLiteral("the text ended before its end mark"));
    if (reader.Feed(bytes, text) == TChunkReader::TState::Failed) return Fail(reader.Error());
  }
  if (reader.State() != TChunkReader::TState::Ended) return Fail(QStringLiteral("the text is out of form"));
  // The new file is made in the target's folder and renamed over the target only when
  // complete, so a failed conversion leaves an existing file as it was.
  const QFileInfo target(file);
  QTemporaryDir scratch(target.absolutePath() + QStringLiteral("/.vellumix-export-XXXXXX"));
  if (!scratch.isValid()) return Fail(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
  QString reason;
  QString made;
  if (IsPandoc()) {
    const QString html = scratch.filePath(QStringLiteral("in.html"));
    QFile page(html);
    if (!page.open(QIODevice::WriteOnly) || page.write(HtmlOf(QString::fromUtf8(text)).toUtf8()) < 0)
      return Fail(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
    page.close();
    made = scratch.filePath(QStringLiteral("out"));
    QStringList args{QStringLiteral("-f"), QStringLiteral("html"), QStringLiteral("-t"), format,
                     QStringLiteral("-o"), made, html};
    if (format == QLatin1String("html") || format == QLatin1String("latex")) args << QStringLiteral("-s");
    if (!RunTool(args, &reason)) return Fail(reason);
  } else {
    const QString plain = scratch.filePath(QStringLiteral("text.txt"));
    QFile page(plain);
    if (!page.open(QIODevice::WriteOnly) || page.write(text) < 0)
      return Fail(QStringLiteral("cannot write in %1").arg(target.absolutePath()));
    page.close();
    if (!RunTool(OfficeArgs(scratch) + QStringList{QStringLiteral("--convert-to"), QStringLiteral("doc:MS Word 97"),
                                                   QStringLiteral("--outdir"), scratch.path(), plain},
                 &reason, scratch.path()))
      return Fail(reason);
    made = scratch.filePath(QStringLiteral("text.doc"));
  }
  if (!QFileInfo::exists(made)) return Fail(QStringLiteral("the converted document is missing"));
  if (::rename(QFile::encodeName(made).constData(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
    return Fail(QStringLiteral("cannot replace %1").arg(file));
  Say(ConverterProtocol::Done());
  return Ok;
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QString format;
  if (args.size() >= 2 && args[0] == QLatin1String("--format")) {
    format = args[1];
    args = args.mid(2);
  }
  const QString call = args.value(0);
  const QString file = args.value(1);
  if (call == QLatin1String("ready")) return Tool().isEmpty() ? NotInFormat : Ok;
  if (call.isEmpty() || file.isEmpty()) {
    QTextStream(stderr) << "usage: " << QFileInfo(app.applicationFilePath()).fileName()
                        << " --format FORMAT ready|check FILE|import FILE|export FILE" << Qt::endl;
    return Failed;
  }
  if (!Offered(format, call == QLatin1String("export"))) return NotOffered;
  if (Tool().isEmpty()) return Fail(QStringLiteral("%1 is not installed").arg(QStringLiteral(VELLUMIX_CONVERTER_TOOL)));
  if (call == QLatin1String("check")) return InFormat(format, file) ? Ok : NotInFormat;
  if (call == QLatin1String("import")) return Import(format, file);
  if (call == QLatin1String("export")) return Export(format, file);
  return Failed;
}
