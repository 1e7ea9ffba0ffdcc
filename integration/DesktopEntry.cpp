// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>

#include "integration/KeyFile.h"
#include "platform/core/Folders.h"

namespace DesktopEntry {

QString ProgramId() { return QStringLiteral("vellumix.desktop"); }

QString ExecArgument(const QString &argument) {
  static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=");
  bool quote = argument.isEmpty();
  QString inner;
  for (const QChar c : argument) {
    if (reserved.contains(c)) quote = true;
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') inner += u'\\';
    inner += c;
    if (c == u'%') inner += u'%';
  }
  QString arg = quote ? u'"' + inner + u'"' : inner;
  // The key file's own string escape: a backslash is written twice.
  arg.replace(u'\\', QStringLiteral("\\\\"));
  return arg;
}

QStringList ExecArguments(const QString &exec) {
  // Undo the key file's string escapes first, then the Exec quoting.
  QString line;
  for (qsizetype i = 0; i < exec.size(); ++i) {
    if (exec[i] == u'\\' && i + 1 < exec.size()) {
      const QChar next = exec[++i];
      line += next == u's'   ? QChar(u' ')
              : next == u'n' ? QChar(u'\n')
              : next == u't' ? QChar(u'\t')
                             : next;
    } else {
      line += exec[i];
    }
  }
  QStringList args;
  QString current;
  bool inQuotes = false;
  bool started = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (inQuotes) {
      if (c == u'\\' && i + 1 < line.size()) {
        current += line[++i];
      } else if (c == u'"') {
        inQuotes = false;
      } else {
        current += c;
      }
    } else if (c == u'"') {
      inQuotes = started = true;
    } else if (c == u' ') {
      if (started) args << current;
      current.clear();
      started = false;
    } else {
      current += c;
      started = true;
    }
  }
  if (started) args << current;
  for (QString &arg : args)
    if (arg != QLatin1String("%f") && arg != QLatin1String("%F") && arg != QLatin1String("%u") &&
        arg != QLatin1String("%U"))
      arg.replace(QStringLiteral("%%"), QStringLiteral("%"));
  return args;
}

QStringList ApplicationFolders() {
  QStringList folders;
  const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
  folders << (QDir::isAbsolutePath(dataHome) ? dataHome
                                             : Folders::Home() + QStringLiteral(".local/share"));
  QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
  if (dataDirs.isEmpty()) dataDirs = QStringLiteral("/usr/local/share:/usr/share");
  for (const QString &dir : dataDirs.split(u':', Qt::SkipEmptyParts))
    if (QDir::isAbsolutePath(dir)) folders << dir;
  for (QString &folder : folders)
    folder = QDir::cleanPath(folder) + QStringLiteral("/applications/");
  return folders;
}

QString FindInstalled(const QString &id) {
  for (const QString &folder : ApplicationFolders())
    if (QFileInfo(folder + id).isFile()) return folder + id;
  return {};
}

QString LauncherText(const QString &programPath) {
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Vellumix\n"
             "GenericName=Text Editor\n"
             "Comment=Edit several plain-text documents side by side\n"
             "Exec=%1 %f\n"
             "Icon=vellumix\n"
             "Terminal=false\n"
             "Categories=Utility;TextEditor;\n"
             "MimeType=text/plain;\n")
      .arg(ExecArgument(programPath));
}

bool EnsureProgramEntry(const QString &programPath, QString *error) {
  if (!FindInstalled(ProgramId()).isEmpty()) return true;
  TKeyFile entry;
  entry.Parse(LauncherText(programPath).toUtf8());
  if (entry.Save(ApplicationFolders().first() + ProgramId())) return true;
  if (error) *error = entry.Error();
  return false;
}

}  // namespace DesktopEntry
