#pragma once

#include "ConverterProcess.h"
#include "MachineHive.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class TEditControl;

// The text converters registered in the machine-wide hive below
// "SOFTWARE\Microsoft\Shared Tools\Text Converters\Import" and "...\Export": each subkey one
// converter with "Name", "Extensions" (blank-separated, without dots) and "Path" (a converter
// program; a bare name is looked for beside the running program, then on PATH), plus "Format" (what the converter
// is asked to read or write) and "Requires" (a program that must be on PATH, else the
// registration is passed over). Rich Text Format needs no converter and is always offered.
class TTextConverters {
 public:
  enum class TDirection { Import, Export };

  explicit TTextConverters(TMachineHive hive = TMachineHive::Load());

  static QString KeyOf(TDirection direction);
  static QString RichText() { return QStringLiteral("Rich Text Format"); }

  // "Name|pattern|Name|pattern" in the order the dialog shows them.
  QString BuildConverterFilter(TDirection direction) const;
  QStringList ConverterNames(TDirection direction) const;
  // Finds the converter of that display name (the last registration of it counts); false,
  // and the converter forgotten, when none is registered or its program is missing.
  bool LoadConverter(const QString &name, TDirection direction);
  // Asks the loaded converter whether the file is in its format.
  bool CheckFormat(const QString &file);
  // One conversion each; the workspace's text is replaced by the imported document's.
  bool ImportFile(const QString &file, const QString &name, TEditControl &edit);
  bool ExportFile(const QString &file, const QString &name, TEditControl &edit);

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
  };
  QList<TEntry> entries(TDirection direction) const;
  void message(const QString &text) const;
  void error(const QString &text) const;

  TMachineHive hive_;
  std::unique_ptr<TConverterProcess> loaded_;
};
