// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "convert/core/ConverterProcess.h"
#include "settings/core/MachineHive.h"

// The text converters registered in the machine-wide hive below
// "SOFTWARE\Microsoft\Shared Tools\Text Converters\Import" and "...\Export": each subkey one
// converter with "Name", "Extensions" (blank-separated, without dots) and "Path" (a converter
// program; a bare name is looked for in the program's helper folder, then beside the running
// program, then on PATH), plus "Format" (what the converter is asked to read or write),
// "Requires" (programs of which one must be on PATH, blank-separated) and "Package" (the
// Debian packages that provide them) and "ByContent" ("no": its format check accepts any text,
// so it is not asked when the program looks for a file's format). A registration whose required
// programs are all missing is still offered when it names its packages - choosing it says what to
// install - and passed over otherwise. Rich Text Format needs no converter and is always offered.
class TTextConverters {
 public:
  enum class TDirection { Import, Export };

  explicit TTextConverters(TMachineHive hive = TMachineHive::Load());

  static QString KeyOf(TDirection direction);
  static QString RichText() { return QStringLiteral("Rich Text Format"); }
  // Where the shipped converter programs are installed, relative to the running program.
  static QStringList HelperFolders();

  // "Name|pattern|Name|pattern" in the order the dialog shows them.
  QString BuildConverterFilter(TDirection direction) const;
  QStringList ConverterNames(TDirection direction) const;
  // The file patterns of an entry ("*.doc;*.dot"); empty for an unknown name.
  QString PatternOf(const QString &name, TDirection direction) const;
  // The display name of the entry whose pattern matches the file's name (the first such
  // entry), or an empty text.
  QString NameForFileName(const QString &file, TDirection direction) const;
  // The display name of the entry whose converter recognises the file's content (rich text is
  // recognised by its header), or an empty text. Runs each converter's format check.
  QString NameForContent(const QString &file);

  // Finds the converter of that display name (the last registration of it counts); false,
  // and the converter forgotten, when none is registered or its program is missing (then
  // the error box says what to install).
  bool LoadConverter(const QString &name, TDirection direction);
  // Asks the loaded converter whether the file is in its format.
  bool CheckFormat(const QString &file);
  // One conversion each. An import hands back the document's plain text, an export takes the
  // workspace's plain text; neither touches a window, so a window closed during the wait
  // cannot be reached.
  bool ImportFile(const QString &file, const QString &name, QString &text);
  bool ExportFile(const QString &file, const QString &name, const QString &text);
  // Ends a running conversion at once (see TConverterProcess::Cancel).
  void Cancel();
  bool Cancelled() const { return cancelled_; }

  // A plain message box with OK (the texts the commands show), and the error box for what
  // went wrong in a converter.
  std::function<void(const QString &text)> ShowMessage;
  std::function<void(const QString &text)> ShowError;
  std::function<void(qsizetype bytes)> OnProgress;

 private:
  struct TEntry {
    QString name;
    QString pattern;
    QString path;
    QString format;
    QString requires_;  // the programs of which none is installed, when so
    QString packages;
    bool byContent = true;
  };
  QList<TEntry> entries(TDirection direction) const;
  static bool matches(const QString &pattern, const QString &file);
  void message(const QString &text) const;
  void error(const QString &text) const;

  TMachineHive hive_;
  std::unique_ptr<TConverterProcess> loaded_;
  bool cancelled_ = false;
};
