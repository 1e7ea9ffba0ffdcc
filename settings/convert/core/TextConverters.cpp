#include "TextConverters.h"

#include "EditControl.h"
#include "RtfReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextDocument>

TTextConverters::TTextConverters(TMachineHive hive) : hive_(std::move(hive)) {}

QString TTextConverters::KeyOf(TDirection direction) {
  return QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\") +
         (direction == TDirection::Import ? QStringLiteral("Import") : QStringLiteral("Export"));
}

QList<TTextConverters::TEntry> TTextConverters::entries(TDirection direction) const {
  QList<TEntry> list;
  const TRegKey *key = hive_.Key(KeyOf(direction));
  if (!key) return list;
  auto text = [](const TRegKey &k, const char *name) {
    const TRegValue *v = k.Value(QString::fromLatin1(name));
    return v && v->IsString() ? v->text : QString();
  };
  for (const auto &sub : key->Children()) {
    const QString requires_ = text(*sub, "Requires");
    if (!requires_.isEmpty() && QStandardPaths::findExecutable(requires_).isEmpty()) continue;
    TEntry entry;
    entry.name = text(*sub, "Name");
    const QString extensions = text(*sub, "Extensions").trimmed();
    entry.pattern = QStringLiteral("*.") + extensions.split(u' ', Qt::SkipEmptyParts).join(QStringLiteral(";*."));
    entry.path = text(*sub, "Path");
    // A bare program name: beside the running program, else on PATH.
    if (!entry.path.isEmpty() && QDir::isRelativePath(entry.path)) {
      const QString beside = QCoreApplication::applicationDirPath() + u'/' + entry.path;
      const QString onPath = QStandardPaths::findExecutable(entry.path);
      entry.path = QFileInfo(beside).isExecutable() || onPath.isEmpty() ? beside : onPath;
    }
    entry.format = text(*sub, "Format");
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

bool TTextConverters::LoadConverter(const QString &name, TDirection direction) {
  loaded_.reset();
  const TEntry *found = nullptr;
  const QList<TEntry> list = entries(direction);
  for (const TEntry &e : list)
    if (e.name == name) found = &e;
  if (!found || found->path.isEmpty()) return false;
  if (!QFileInfo(found->path).isExecutable()) {
    error(QStringLiteral("The converter for %1 is not installed: %2 is missing.").arg(name, found->path));
    return false;
  }
  loaded_ = std::make_unique<TConverterProcess>(found->path, found->format);
  loaded_->OnProgress = [this](qsizetype bytes) {
    if (OnProgress) OnProgress(bytes);
  };
  return true;
}

bool TTextConverters::CheckFormat(const QString &file) {
  if (!loaded_ || !loaded_->Ready()) {
    if (loaded_ && !loaded_->Error().isEmpty()) error(loaded_->Error());
    message(QStringLiteral("Please report: InitConverter failed"));
    return false;
  }
  const bool correct = loaded_->IsFormatCorrect(file);
  if (!correct && !loaded_->Error().isEmpty()) error(loaded_->Error());
  return correct;
}

bool TTextConverters::ImportFile(const QString &file, const QString &name, TEditControl &edit) {
  if (!LoadConverter(name, TDirection::Import)) return false;
  if (!CheckFormat(file)) {
    message(QStringLiteral("Not the correct file format"));
    return false;
  }
  QByteArray rtf;
  if (!loaded_->ForeignToRtf(file, rtf)) {
    error(loaded_->Error());
    return false;
  }
  QTextDocument document;
  TRtfReader reader;
  if (!reader.Read(rtf, document)) {
    error(QStringLiteral("The converted document cannot be read: %1").arg(reader.Error()));
    return false;
  }
  QString text = document.toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  edit.SetText(text);
  return true;
}

bool TTextConverters::ExportFile(const QString &file, const QString &name, TEditControl &edit) {
  if (!LoadConverter(name, TDirection::Export)) return false;
  if (!loaded_->Ready()) {
    if (!loaded_->Error().isEmpty()) error(loaded_->Error());
    message(QStringLiteral("Please report: InitConverter failed"));
    return false;
  }
  // The whole plain text, with the caret and selection put back as they were.
  const qsizetype start = edit.SelStart();
  const qsizetype length = edit.SelLength();
  edit.SelectAll();
  const QByteArray text = edit.SelText().toUtf8();
  edit.SetSelection(start, length);
  if (loaded_->RtfToForeign(file, text)) return true;
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
