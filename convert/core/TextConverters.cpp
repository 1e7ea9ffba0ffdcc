// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/core/TextConverters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "documents/core/RtfReader.h"

TTextConverters::TTextConverters(TMachineHive hive) : hive_(std::move(hive)) {}

QString TTextConverters::KeyOf(TDirection direction) {
  return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\") +
         (direction == TDirection::Import ? QStringLiteral("Import") : QStringLiteral("Export"));
}

QStringList TTextConverters::HelperFolders() {
  const QString installed = QStringLiteral(VELLUMIX_HELPERS_DIR);
  if (!QCoreApplication::instance()) return {installed};
  const QString bin = QCoreApplication::applicationDirPath();
  return {QDir::cleanPath(bin + u'/' + QStringLiteral(VELLUMIX_HELPERS_FROM_BIN)), installed, bin};
}

QList<TTextConverters::TEntry> TTextConverters::entries(TDirection direction) const {
  QList<TEntry> list;
  const TRegKey *key = hive_.Key(KeyOf(direction));
  if (!key) return list;
  auto text = [](const TRegKey &k, const char *name) {
    const TRegValue *v = k.Value(QString::fromLatin1(name));
    return v && v->IsString() ? v->text : QString();
  };
  const QStringList helpers = HelperFolders();
  for (const auto &sub : key->Children()) {
    TEntry entry;
    const QStringList tools = text(*sub, "Requires").split(u' ', Qt::SkipEmptyParts);
    const bool toolFound =
        tools.isEmpty() || std::any_of(tools.begin(), tools.end(), [](const QString &tool) {
          return !QStandardPaths::findExecutable(tool).isEmpty();
        });
    entry.packages = text(*sub, "Package").simplified();
    if (!toolFound) {
      if (entry.packages.isEmpty()) continue;
      entry.requires_ = tools.join(QStringLiteral(" or "));
    }
    entry.name = text(*sub, "Name");
    const QString extensions = text(*sub, "Extensions").trimmed();
    entry.pattern = QStringLiteral("*.") +
                    extensions.split(u' ', Qt::SkipEmptyParts).join(QStringLiteral(";*."));
    entry.path = text(*sub, "Path");
    // A bare program name: in the helper folders, else on PATH.
    if (!entry.path.isEmpty() && QDir::isRelativePath(entry.path)) {
      QString found;
      for (const QString &folder : helpers)
        if (found.isEmpty() && QFileInfo(folder + u'/' + entry.path).isExecutable())
          found = folder + u'/' + entry.path;
      if (found.isEmpty()) found = QStandardPaths::findExecutable(entry.path);
      entry.path = found.isEmpty() ? helpers.first() + u'/' + entry.path : found;
    }
    entry.format = text(*sub, "Format");
    entry.byContent =
        text(*sub, "ByContent").compare(QLatin1String("no"), Qt::CaseInsensitive) != 0;
    // A name or pattern holding the list's separator cannot be offered in a dialog.
    if (entry.name.isEmpty() || entry.name.contains(u'|') || entry.pattern.contains(u'|')) continue;
    list << entry;
  }
  return list;
}

QString TTextConverters::BuildConverterFilter(TDirection direction) const {
  QStringList parts{RichText(), QStringLiteral("*.rtf")};
  for (const TEntry &e : entries(direction)) parts << e.name << e.pattern;
  return parts.join(u'|');
}

QStringList TTextConverters::ConverterNames(TDirection direction) const {
  QStringList names{RichText()};
  for (const TEntry &e : entries(direction)) names << e.name;
  return names;
}

QString TTextConverters::PatternOf(const QString &name, TDirection direction) const {
  if (name == RichText()) return QStringLiteral("*.rtf");
  QString pattern;
  for (const TEntry &e : entries(direction))
    if (e.name == name) pattern = e.pattern;
  return pattern;
}

bool TTextConverters::matches(const QString &pattern, const QString &file) {
  const QString name = QFileInfo(file).fileName();
  const QStringList globs = pattern.split(u';', Qt::SkipEmptyParts);
  return std::any_of(globs.begin(), globs.end(), [&name](const QString &glob) {
    // Only "*.ext" patterns have a meaning of their own; "*" or "*.*" match every name.
    return glob.startsWith(QLatin1String("*.")) && glob.size() > 2 && !glob.mid(2).contains(u'*') &&
           name.size() > glob.size() - 1 && name.endsWith(glob.mid(1), Qt::CaseInsensitive);
  });
}

QString TTextConverters::NameForFileName(const QString &file, TDirection direction) const {
  if (matches(QStringLiteral("*.rtf"), file)) return RichText();
  for (const TEntry &e : entries(direction))
    if (e.requires_.isEmpty() && matches(e.pattern, file)) return e.name;
  return {};
}

QString TTextConverters::NameForContent(const QString &file) {
  QFile in(file);
  if (in.open(QIODevice::ReadOnly) && in.read(5) == "{\\rtf") return RichText();
  QStringList asked;
  for (const TEntry &e : entries(TDirection::Import)) {
    const QString which = e.path + u'\n' + e.format;
    if (!e.byContent || !e.requires_.isEmpty() || asked.contains(which) ||
        !QFileInfo(e.path).isExecutable())
      continue;
    asked << which;
    TConverterProcess converter(e.path, e.format);
    if (converter.Ready() && converter.IsFormatCorrect(file)) return e.name;
  }
  return {};
}

bool TTextConverters::LoadConverter(const QString &name, TDirection direction) {
  loaded_.reset();
  std::optional<TEntry> found;
  for (const TEntry &e : entries(direction))
    if (e.name == name) found = e;
  if (!found || found->path.isEmpty()) return false;
  if (!found->requires_.isEmpty()) {
    error(
        QStringLiteral(
            "No program that converts %1 is installed (%2). Install the Debian package %3")
            .arg(name, found->requires_, found->packages.split(u' ').join(QStringLiteral(" or "))));
    return false;
  }
  if (!QFileInfo(found->path).isExecutable()) {
    error(QStringLiteral("The converter for %1 is not installed: %2 is missing")
              .arg(name, found->path));
    return false;
  }
  loaded_ = std::make_unique<TConverterProcess>(found->path, found->format);
  loaded_->OnProgress = [this](qsizetype bytes) {
    if (OnProgress) OnProgress(bytes);
  };
  return true;
}

void TTextConverters::Cancel() {
  cancelled_ = true;
  if (loaded_) loaded_->Cancel();
}

bool TTextConverters::CheckFormat(const QString &file) {
  if (!loaded_ || !loaded_->Ready()) {
    if (loaded_ && loaded_->Cancelled()) return false;
    if (loaded_ && !loaded_->Error().isEmpty()) error(loaded_->Error());
    message(QStringLiteral("Please report: InitConverter failed"));
    return false;
  }
  const bool correct = loaded_->IsFormatCorrect(file);
  if (!correct && !loaded_->Cancelled() && !loaded_->Error().isEmpty()) error(loaded_->Error());
  return correct;
}

bool TTextConverters::ImportFile(const QString &file, const QString &name, QString &text) {
  cancelled_ = false;
  if (!LoadConverter(name, TDirection::Import)) return false;
  if (!CheckFormat(file)) {
    if (!cancelled_) message(QStringLiteral("Not the correct file format"));
    return false;
  }
  QByteArray rtf;
  if (!loaded_->ForeignToRtf(file, rtf)) {
    if (!cancelled_) error(loaded_->Error());
    return false;
  }
  QTextDocument document;
  TRtfReader reader;
  if (!reader.Read(rtf, document)) {
    error(QStringLiteral("The converted document cannot be read: %1").arg(reader.Error()));
    return false;
  }
  text = document.toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
  return true;
}

bool TTextConverters::ExportFile(const QString &file, const QString &name, const QString &text) {
  cancelled_ = false;
  if (!LoadConverter(name, TDirection::Export)) return false;
  if (!loaded_->Ready()) {
    if (cancelled_) return false;
    if (!loaded_->Error().isEmpty()) error(loaded_->Error());
    message(QStringLiteral("Please report: InitConverter failed"));
    return false;
  }
  if (loaded_->RtfToForeign(file, text.toUtf8())) return true;
  if (cancelled_) return false;
  if (loaded_->Unsupported())
    message(QStringLiteral("Coult not export document"));
  else
    error(loaded_->Error());
  return false;
}

void TTextConverters::message(const QString &text) const {
  if (ShowMessage) ShowMessage(text);
}

void TTextConverters::error(const QString &text) const {
  if (ShowError) ShowError(text);
}
