// SPDX-License-Identifier: GPL-3.0-or-later
// A text converter program for the import and export commands (see ConverterProtocol.h).
// vellumix-convert-pandoc hands the work to pandoc, vellumix-convert-office to LibreOffice
// (soffice --headless). Word (docx) and OpenDocument Text can be read by both: each program
// then uses the tool that reads the file best and fastest, and the other one when its own is
// missing, too slow or fails (see ImportTools).
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTextStream>
#include <csignal>
#include <cstdio>

#include "convert/core/ConverterProtocol.h"
#include "convert/core/ZipDirectory.h"
#include "platform/core/LineEnds.h"

namespace {

enum TExit { Ok = 0, NotInFormat = 1, Failed = 2, NotOffered = 3 };

// The language of the user's locale in the form documents name it ("de-DE"); English when the
// locale names none (the "C" or "POSIX" locale).
QString BookLanguage() {
  const QLocale locale = QLocale::system();
  return locale.language() == QLocale::C ? QStringLiteral("en") : locale.bcp47Name();
}
enum class TTool { Pandoc, Office };

constexpr qsizetype kMaxText = qsizetype{256} * 1024 * 1024;
// Each run of a tool; the program that started this converter has a limit of its own.
constexpr int kToolTimeLimitMs = 240000;
// pandoc reads Word files in time that grows faster than their text (measured on the project
// machine by the size of the document's word/document.xml, pandoc against LibreOffice):
// 337 KB 1.6 s / 5.2 s, 1.0 MB 5.9 s / 6.6 s, 1.7 MB 21.5 s / 20.0 s, 3.4 MB 34 s / 10 s,
// 13.5 MB 71 s / 9.7 s. Documents above the point where the two meet go to LibreOffice at
// once, and pandoc gets a short limit before LibreOffice takes over.
constexpr qint64 kPandocLargestDocument = qint64{1024} * 1024;
constexpr int kPandocDocxLimitMs = 30000;

TTool OwnTool() {
  return QStringLiteral(VELLUMIX_CONVERTER_TOOL) == QLatin1String("pandoc") ? TTool::Pandoc
                                                                            : TTool::Office;
}

QString ToolPath(TTool tool) {
  if (tool == TTool::Pandoc) return QStandardPaths::findExecutable(QStringLiteral("pandoc"));
  const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  return office.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("libreoffice")) : office;
}

QString ToolName(TTool tool) {
  return tool == TTool::Pandoc ? QStringLiteral("pandoc") : QStringLiteral("LibreOffice");
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

// Runs a tool; false with the reason when it fails. A tool that overruns its limit is
// stopped: pandoc is one process; LibreOffice starts more, so the whole process group (this
// converter with it) is ended once the reason has been told.
bool RunTool(TTool tool, const QStringList &args, QString *reason, int limitMs = kToolTimeLimitMs,
             const QString &workDir = QString()) {
  QProcess run;
  if (!workDir.isEmpty()) run.setWorkingDirectory(workDir);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(ToolPath(tool), args);
  if (!run.waitForFinished(limitMs)) {
    *reason = QStringLiteral("%1 did not finish within %2 seconds")
                  .arg(ToolName(tool))
                  .arg(limitMs / 1000);
    if (tool == TTool::Office && ::getpgrp() == ::getpid()) {
      Fail(*reason);
      ::kill(0, SIGKILL);
    }
    run.kill();
    run.waitForFinished();
    return false;
  }
  if (run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0) {
    const QString out = QString::fromUtf8(run.readAll()).trimmed().section(u'\n', -1);
    *reason = QStringLiteral("%1 failed: %2").arg(ToolName(tool), out);
    return false;
  }
  return true;
}

// LibreOffice keeps a profile; each run gets a private one so that a running office or the
// user's own profile is never touched.
QStringList OfficeArgs(const QTemporaryDir &scratch) {
  return {QStringLiteral("--headless"), QStringLiteral("--norestore"),
          QStringLiteral("--nolockcheck"),
          QStringLiteral("-env:UserInstallation=file://") + scratch.path() +
              QStringLiteral("/profile")};
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
  if (format == QLatin1String("docx"))
    return IsZipWith(head, "word/document.xml") || IsZipWith(head, "[Content_Types].xml");
  if (format == QLatin1String("odt"))
    return IsZipWith(head, "application/vnd.oasis.opendocument.text");
  if (format == QLatin1String("epub")) return IsZipWith(head, "application/epub+zip");
  if (format == QLatin1String("html"))
    return IsText(head) &&
           (lower.contains("<html") || lower.contains("<!doctype html") || lower.contains("<body"));
  if (format == QLatin1String("markdown") || format == QLatin1String("latex"))
    return !head.isEmpty() && IsText(head);
  if (format == QLatin1String("doc") || format == QLatin1String("wps"))
    return head.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1"));
  if (format == QLatin1String("wri"))
    return head.startsWith("\x31\xbe") || head.startsWith("\x32\xbe");
  if (format == QLatin1String("wpd"))
    return head.startsWith(
        "\xff"
        "WPC");
  return false;
}

// The size of a Word file's document part; for a file whose directory cannot be read, an
// estimate from its compressed size.
qint64 DocxTextSize(const QString &file) {
  const qint64 size = ZipDirectory::EntrySizeInFile(file, "word/document.xml");
  return size >= 0 ? size : QFileInfo(file).size() * 8;
}

// The tools that read a format, best first, of those installed. Both read Word and
// OpenDocument files; LibreOffice keeps more of an OpenDocument file (table header rows,
// indexes, tabs and runs of spaces), pandoc is faster for Word files that are not large.
QList<TTool> ImportTools(const QString &format, const QString &file) {
  QList<TTool> tools;
  if (format == QLatin1String("odt"))
    tools = {TTool::Office, TTool::Pandoc};
  else if (format == QLatin1String("docx"))
    tools = DocxTextSize(file) > kPandocLargestDocument ? QList{TTool::Office, TTool::Pandoc}
                                                        : QList{TTool::Pandoc, TTool::Office};
  else if (QStringList{QStringLiteral("html"), QStringLiteral("epub"), QStringLiteral("markdown"),
                       QStringLiteral("latex")}
               .contains(format))
    tools = {TTool::Pandoc};
  else
    tools = {TTool::Office};
  tools.removeIf([](TTool tool) { return ToolPath(tool).isEmpty(); });
  return tools;
}

QList<TTool> ExportTools(const QString &format) {
  QList<TTool> tools{format == QLatin1String("doc") ? TTool::Office : TTool::Pandoc};
  tools.removeIf([](TTool tool) { return ToolPath(tool).isEmpty(); });
  return tools;
}

bool Offered(const QString &format, bool exporting) {
  static const QStringList pandoc{QStringLiteral("docx"),     QStringLiteral("odt"),
                                  QStringLiteral("html"),     QStringLiteral("epub"),
                                  QStringLiteral("markdown"), QStringLiteral("latex")};
  static const QStringList office{QStringLiteral("doc"),  QStringLiteral("wri"),
                                  QStringLiteral("wps"),  QStringLiteral("wpd"),
                                  QStringLiteral("docx"), QStringLiteral("odt")};
  if (OwnTool() == TTool::Pandoc) return pandoc.contains(format);
  return exporting ? format == QLatin1String("doc") : office.contains(format);
}

// pandoc's rich text without its document template (which would put the title, authors and
// date of the document's metadata in front of its text), in a header of its own.
QByteArray RtfDocument(const QByteArray &body) {
  return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}{\\f1 \\fmodern Courier;}}\n" +
         body + "\n}\n";
}

// EPUB files made by pandoc carry a title page and put the title in front of the first
// chapter; both are metadata, not text. The empty markers of the book's files go too.
constexpr char kEpubFilter[] = R"(local title = nil
local function is_marker(p)
  for _, inline in ipairs(p.content) do
    if inline.t ~= 'Span' or #inline.content > 0 then return false end
  end
  return #p.content > 0
end
return {
  { Meta = function(m) if m.title then title = pandoc.utils.stringify(m.title) end end },
  { Para = function(p) if is_marker(p) then return {} end end,
    Header = function(h)
      if title and h.classes:includes('unnumbered') and pandoc.utils.stringify(h) == title then return {} end
    end },
}
)";

bool ImportWith(TTool tool, const QString &format, const QString &file,
                const QTemporaryDir &scratch, int limitMs, QByteArray *rtf, QString *reason) {
  if (tool == TTool::Pandoc) {
    QStringList args{QStringLiteral("--preserve-tabs"), QStringLiteral("-f"), format,
                     QStringLiteral("-t"), QStringLiteral("rtf")};
    if (format == QLatin1String("epub")) {
      const QString filter = scratch.filePath(QStringLiteral("epub.lua"));
      QFile lua(filter);
      if (!lua.open(QIODevice::WriteOnly) || lua.write(kEpubFilter) < 0) {
        *reason = QStringLiteral("no temporary folder");
        return false;
      }
      args << QStringLiteral("--lua-filter") << filter;
    }
    const QString out = scratch.filePath(QStringLiteral("out.rtf"));
    if (!RunTool(tool, args << QStringLiteral("-o") << out << file, reason, limitMs)) return false;
    QFile made(out);
    if (!made.open(QIODevice::ReadOnly)) {
      *reason = QStringLiteral("the converted document is missing");
      return false;
    }
    *rtf = RtfDocument(made.readAll());
    return true;
  }
  // The office names its output after the input; a copy under a fixed name avoids surprises
  // with odd file names.
  const QString input = scratch.filePath(QStringLiteral("in.") + format);
  QFile::remove(input);
  if (!QFile::copy(file, input)) {
    *reason = QStringLiteral("cannot read %1").arg(file);
    return false;
  }
  if (!RunTool(
          tool,
          OfficeArgs(scratch) + QStringList{QStringLiteral("--convert-to"), QStringLiteral("rtf"),
                                            QStringLiteral("--outdir"), scratch.path(), input},
          reason, limitMs, scratch.path()))
    return false;
  QFile made(scratch.filePath(QStringLiteral("in.rtf")));
  if (!made.open(QIODevice::ReadOnly)) {
    *reason = QStringLiteral("the converted document is missing");
    return false;
  }
  *rtf = made.readAll();
  return true;
}

int Import(const QString &format, const QString &file) {
  QTemporaryDir scratch;
  if (!scratch.isValid()) return Fail(QStringLiteral("no temporary folder"));
  const QList<TTool> tools = ImportTools(format, file);
  QString reason;
  QByteArray rtf;
  for (qsizetype i = 0; i < tools.size(); ++i) {
    const bool last = i + 1 == tools.size();
    const int limit = !last && tools[i] == TTool::Pandoc && format == QLatin1String("docx")
                          ? kPandocDocxLimitMs
                          : kToolTimeLimitMs;
    QString why;
    if (ImportWith(tools[i], format, file, scratch, limit, &rtf, &why)) {
      for (qsizetype at = 0; at < rtf.size(); at += qsizetype{64} * 1024)
        Say(ConverterProtocol::Chunks(rtf.mid(at, qsizetype{64} * 1024)));
      Say(ConverterProtocol::Done());
      return Ok;
    }
    reason = reason.isEmpty() ? why : reason + QStringLiteral("; ") + why;
  }
  return Fail(reason);
}

// The text as one preformatted block: every character, tab, run of spaces and line is kept
// in whichever format pandoc writes from it. (A line break right after <pre> is not part of
// the block, so one is written to keep a first empty line, which Word and OpenDocument files
// then keep; a block ends with its last character, so line ends at the very end of the text
// are not kept.)
QString HtmlOf(const QString &text) {
  const QString normal = LineEnds::ToNewlines(text);
  return QStringLiteral(
             "<!DOCTYPE html><html><head><meta "
             "charset=\"utf-8\"><title></title></head><body><pre>\n") +
         normal.toHtmlEscaped() + QStringLiteral("</pre></body></html>\n");
}

bool ExportWith(TTool tool, const QString &format, const QByteArray &text, const QString &target,
                const QTemporaryDir &scratch, QString *made, QString *reason) {
  const QString title = QFileInfo(target).completeBaseName();
  if (tool == TTool::Pandoc) {
    const QString html = scratch.filePath(QStringLiteral("in.html"));
    QFile page(html);
    if (!page.open(QIODevice::WriteOnly) ||
        page.write(HtmlOf(QString::fromUtf8(text)).toUtf8()) < 0) {
      *reason = QStringLiteral("cannot write in %1").arg(scratch.path());
      return false;
    }
    page.close();
    *made = scratch.filePath(QStringLiteral("out"));
    QStringList args{
        QStringLiteral("--preserve-tabs"),
        QStringLiteral("-f"),
        QStringLiteral("html"),
        QStringLiteral("-t"),
        format == QLatin1String("markdown") ? QStringLiteral("markdown-smart") : format,
        QStringLiteral("-o"),
        *made};
    // Formats that are whole documents only with a template; the page's title is the file's
    // name (an EPUB book needs a title of its own).
    if (format == QLatin1String("html") || format == QLatin1String("latex"))
      args << QStringLiteral("-s");
    args << QStringLiteral("--metadata")
         << (format == QLatin1String("epub") ? QStringLiteral("title=")
                                             : QStringLiteral("pagetitle=")) +
                title;
    // The book's language is the user's, not the "C" of a locale without one.
    if (format == QLatin1String("epub"))
      args << QStringLiteral("--metadata") << QStringLiteral("lang=") + BookLanguage();
    return RunTool(tool, args << html, reason);
  }
  const QString plain = scratch.filePath(QStringLiteral("text.txt"));
  QFile page(plain);
  if (!page.open(QIODevice::WriteOnly) || page.write(text) < 0) {
    *reason = QStringLiteral("cannot write in %1").arg(scratch.path());
    return false;
  }
  page.close();
  *made = scratch.filePath(QStringLiteral("text.doc"));
  return RunTool(tool,
                 OfficeArgs(scratch) +
                     QStringList{QStringLiteral("--infilter=Text (encoded):UTF8,LF,,,"),
                                 QStringLiteral("--convert-to"), QStringLiteral("doc:MS Word 97"),
                                 QStringLiteral("--outdir"), scratch.path(), plain},
                 reason, kToolTimeLimitMs, scratch.path());
}

int Export(const QString &format, const QString &file) {
  TChunkReader reader(kMaxText);
  QByteArray text;
  QFile in;
  if (!in.open(stdin, QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read the text"));
  while (reader.State() == TChunkReader::TState::More) {
    const QByteArray bytes = in.read(qint64{64} * 1024);
    if (bytes.isEmpty()) return Fail(QStringLiteral("the text ended before its end mark"));
    if (reader.Feed(bytes, text) == TChunkReader::TState::Failed) return Fail(reader.Error());
  }
  if (reader.State() != TChunkReader::TState::Ended)
    return Fail(QStringLiteral("the text is out of form"));
  const QList<TTool> tools = ExportTools(format);
  if (tools.isEmpty()) return Fail(QStringLiteral("%1 is not installed").arg(ToolName(OwnTool())));
  // The new file is made in a scratch folder and then written over the target in one step
  // (a temporary file beside it renamed over it), so that a failed or stopped conversion
  // leaves an existing file as it was.
  QTemporaryDir scratch;
  if (!scratch.isValid()) return Fail(QStringLiteral("no temporary folder"));
  QString reason;
  QString made;
  if (!ExportWith(tools.first(), format, text, file, scratch, &made, &reason)) return Fail(reason);
  QFile product(made);
  if (!product.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("the converted document is missing"));
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly) || out.write(product.readAll()) < 0 || !out.commit())
    return Fail(QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
  Say(ConverterProtocol::Done());
  return Ok;
}

}  // namespace

int main(int argc, char **argv) {
  // The converter and the tools it starts form one process group, so that whoever stops the
  // converter can stop them all (the program starts it so; when run by hand it makes one).
  if (::getpgrp() != ::getpid()) ::setpgid(0, 0);
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QString format;
  if (args.size() >= 2 && args[0] == QLatin1String("--format")) {
    format = args[1];
    args = args.mid(2);
  }
  const QString call = args.value(0);
  const QString file = args.value(1);
  const bool exporting = call == QLatin1String("export");
  const bool anyTool = !(exporting ? ExportTools(format) : ImportTools(format, file)).isEmpty();
  if (call == QLatin1String("ready")) return anyTool || !Offered(format, false) ? Ok : NotInFormat;
  if (call.isEmpty() || file.isEmpty()) {
    QTextStream(stderr) << "usage: " << QFileInfo(app.applicationFilePath()).fileName()
                        << " --format FORMAT ready|check FILE|import FILE|export FILE" << Qt::endl;
    return Failed;
  }
  if (!Offered(format, exporting)) return NotOffered;
  if (!anyTool) return Fail(QStringLiteral("%1 is not installed").arg(ToolName(OwnTool())));
  if (call == QLatin1String("check")) return InFormat(format, file) ? Ok : NotInFormat;
  if (call == QLatin1String("import")) return Import(format, file);
  if (exporting) return Export(format, file);
  return Failed;
}
