// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/spellcheck/SpellTool.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

#include "VellumixVersion.h"
#include "platform/core/CodePage.h"
#include "platform/core/Folders.h"
#include "platform/core/TextFile.h"
#include "spell/core/Dictionary.h"
#include "spell/core/PhoneticCode.h"
#include "spell/core/Similarity.h"
#include "spell/core/SpellErrors.h"
#include "tools/dctc/CompileCommand.h"
#include "tools/spellcheck/TextWords.h"

namespace {

constexpr char kUsage[] =
    "usage: vellumix-spell --help | --version\n"
    "       vellumix-spell list [-d DICT.dct]... [-u USER.DIC] [-x EXCLUSIONS] [--html] [FILE...]\n"
    "       vellumix-spell suggest [-d DICT.dct]... [-u USER.DIC] [-n MAX] WORD...\n"
    "       vellumix-spell complete [-d DICT.dct] [-n MAX] PREFIX...\n"
    "       vellumix-spell build -o OUT.dct [--case lower|capitalised|any]\n"
    "                            [--one-letter W,W...|*] [--two-letter W,W...]\n"
    "                            [--flagged LIST]... [LIST...]\n"
    "       vellumix-spell phonetic [--pad] TEXT...   (a character of value 0 prints as \\0)\n"
    "       vellumix-spell similarity WORD CANDIDATE";

struct TOptions {
  QStringList dictionaries;
  QString user;
  QString exclusions;
  int max = 10;
  bool html = false;
  bool pad = false;
  QStringList operands;
};

// Parses the options a command accepts (each letter of accepted names one option).
bool Parse(const QStringList &args, const QStringList &accepted, TOptions &o, QTextStream &err) {
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &arg = args[i];
    const bool takesValue = arg == QLatin1String("-d") || arg == QLatin1String("-u") ||
                            arg == QLatin1String("-x") || arg == QLatin1String("-n");
    if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
      o.operands.append(arg);
      continue;
    }
    if (!accepted.contains(arg) || (takesValue && i + 1 >= args.size())) {
      err << "Unknown option or missing value: " << arg << Qt::endl;
      return false;
    }
    if (arg == QLatin1String("-d")) {
      o.dictionaries.append(args[++i]);
    } else if (arg == QLatin1String("-u")) {
      o.user = args[++i];
    } else if (arg == QLatin1String("-x")) {
      o.exclusions = args[++i];
    } else if (arg == QLatin1String("-n")) {
      bool ok = false;
      o.max = args[++i].toInt(&ok);
      if (!ok || o.max < 1 || o.max > 255) {
        err << "The number of suggestions must be 1 to 255." << Qt::endl;
        return false;
      }
    } else if (arg == QLatin1String("--html")) {
      o.html = true;
    } else if (arg == QLatin1String("--pad")) {
      o.pad = true;
    }
  }
  return true;
}

// Opens the main files, the user dictionary and the exclusion list; false after a message.
bool Open(TDictionary &dictionary, const TOptions &o, QTextStream &err) {
  QStringList files = o.dictionaries;
  if (files.isEmpty()) files.append(Folders::ProgramFolder() + QStringLiteral("English.dct"));
  for (const QString &file : files) {
    if (!dictionary.OpenMainDictionary(file)) {
      err << "Dictionary not found : " << file << Qt::endl;
      return false;
    }
  }
  if (!o.user.isEmpty()) dictionary.OpenUserDictionary(QFileInfo(o.user).absoluteFilePath());
  if (!o.exclusions.isEmpty() && !dictionary.OpenExclusionList(o.exclusions)) {
    err << "Exclusion list not found : " << o.exclusions << Qt::endl;
    return false;
  }
  return true;
}

QByteArray ReadInput(const QString &name, QString &error) {
  QFile file;
  if (name == QLatin1String("-"))
    file.open(stdin, QIODevice::ReadOnly);
  else
    file.setFileName(name), file.open(QIODevice::ReadOnly);
  if (!file.isOpen()) {
    error = QStringLiteral("Cannot read \"%1\": %2").arg(name, file.errorString());
    return {};
  }
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    error = QStringLiteral("Cannot read \"%1\": %2").arg(name, file.errorString());
  return bytes;
}

int List(TDictionary &dictionary, const TOptions &o, QTextStream &out, QTextStream &err) {
  QStringList inputs = o.operands;
  if (inputs.isEmpty()) inputs.append(QStringLiteral("-"));
  int code = 0;
  for (const QString &input : inputs) {
    QString error;
    const QByteArray bytes = ReadInput(input, error);
    if (!error.isEmpty()) {
      err << error << Qt::endl;
      code = 1;
      continue;
    }
    // Read as the editor reads a file: a byte-order mark decides, else valid UTF-8 is UTF-8,
    // else the bytes are Windows-1252, which is only a guess and is said so.
    const TDecodedText decoded = TextFile::Decode(bytes, std::numeric_limits<qsizetype>::max());
    if (decoded.format.encoding == TTextEncoding::Windows1252)
      err << (input == QLatin1String("-") ? QStringLiteral("standard input") : input)
          << ": not UTF-8, read as Windows-1252." << Qt::endl;
    const QString &text = decoded.text;
    TTextWords words(text, o.html);
    while (words.Next()) {
      if (words.Word().size() < 2 || words.DigitsOnly()) continue;
      if (!dictionary.IsWord(words.Oem())) out << words.Word() << '\n';
    }
    if (!words.InvalidWord().isEmpty()) {
      err << "Aborting spell check (Invalid word): " << words.InvalidWord() << Qt::endl;
      code = 1;
    }
  }
  out.flush();
  return code;
}

int Suggestions(TDictionary &dictionary, const TOptions &o, bool completions, QTextStream &out) {
  for (const QString &word : o.operands) {
    const QStringList list =
        completions ? dictionary.SuggestCompletions(word, o.max) : dictionary.Suggest(word, o.max);
    out << word << ": " << list.join(QStringLiteral(", ")) << '\n';
  }
  out.flush();
  return 0;
}

QString Printable(const QByteArray &code) {
  QString text = CodePage::FromOem437(code);
  return text.replace(QChar(0), QStringLiteral("\\0"));
}

}  // namespace

int RunSpellTool(const QStringList &args, QTextStream &out, QTextStream &err) {
  if (args.isEmpty()) {
    err << kUsage << Qt::endl;
    return 2;
  }
  const QString &command = args.first();
  const QStringList rest = args.mid(1);
  if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
    out << kUsage << Qt::endl;
    return 0;
  }
  if (command == QLatin1String("--version")) {
    out << "vellumix-spell " << kVersionText << " for Linux" << Qt::endl;
    return 0;
  }
  if (command == QLatin1String("build")) return RunCompileCommand(rest, out, err);

  TOptions o;
  QStringList accepted;
  if (command == QLatin1String("list"))
    accepted = {QStringLiteral("-d"), QStringLiteral("-u"), QStringLiteral("-x"),
                QStringLiteral("--html")};
  else if (command == QLatin1String("suggest"))
    accepted = {QStringLiteral("-d"), QStringLiteral("-u"), QStringLiteral("-n")};
  else if (command == QLatin1String("complete"))
    accepted = {QStringLiteral("-d"), QStringLiteral("-n")};
  else if (command == QLatin1String("phonetic"))
    accepted = {QStringLiteral("--pad")};
  else if (command != QLatin1String("similarity")) {
    err << kUsage << Qt::endl;
    return 2;
  }
  if (!Parse(rest, accepted, o, err)) return 2;

  if (command == QLatin1String("phonetic")) {
    for (const QString &text : o.operands)
      out << Printable(PhoneticCode(CodePage::ToOem437(text), o.pad)) << '\n';
    return 0;
  }
  if (command == QLatin1String("similarity")) {
    if (o.operands.size() != 2) {
      err << kUsage << Qt::endl;
      return 2;
    }
    out << Similarity(CodePage::ToOem437(o.operands[0]), CodePage::ToOem437(o.operands[1])) << '\n';
    return 0;
  }
  if (command == QLatin1String("complete") && o.dictionaries.size() > 1) {
    err << "complete uses one dictionary." << Qt::endl;
    return 2;
  }
  try {
    TDictionary dictionary;
    if (!Open(dictionary, o, err)) return 1;
    if (command == QLatin1String("list")) return List(dictionary, o, out, err);
    return Suggestions(dictionary, o, command == QLatin1String("complete"), out);
  } catch (const TSpellError &error) {
    err << error.Message() << Qt::endl;
    return 1;
  }
}
