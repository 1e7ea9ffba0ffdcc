// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dctc/CompileCommand.h"

#include <QFile>

#include "spell/core/DictionaryCompiler.h"
#include "spell/core/SpellErrors.h"

namespace {

constexpr char kUsage[] =
    "usage: -o OUT.dct [--case lower|capitalised|any] [--one-letter W,W...|*] [--two-letter "
    "W,W...] "
    "[--flagged LIST]... [LIST]...";

bool ParseCase(const QString &value, TListRules::TCase &letterCase) {
  if (value == QLatin1String("lower"))
    letterCase = TListRules::TCase::Lower;
  else if (value == QLatin1String("capitalised"))
    letterCase = TListRules::TCase::Capitalised;
  else if (value == QLatin1String("any"))
    letterCase = TListRules::TCase::Any;
  else
    return false;
  return true;
}

}  // namespace

int RunCompileCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
  QString output;
  TListRules rules;
  QList<std::pair<QString, bool>> lists;  // file and whether it carries flags
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &arg = args[i];
    const bool takesValue = arg == QLatin1String("-o") || arg == QLatin1String("--flagged") ||
                            arg == QLatin1String("--case") ||
                            arg == QLatin1String("--one-letter") ||
                            arg == QLatin1String("--two-letter");
    if (takesValue && i + 1 < args.size()) {
      const QString &value = args[++i];
      if (arg == QLatin1String("-o")) {
        output = value;
      } else if (arg == QLatin1String("--flagged")) {
        lists.append({value, true});
      } else if (arg == QLatin1String("--one-letter")) {
        rules.oneLetterWords = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
      } else if (arg == QLatin1String("--two-letter")) {
        rules.twoLetterWords = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
      } else if (!ParseCase(value, rules.letterCase)) {
        err << "The letter case must be lower, capitalised or any: " << value << Qt::endl;
        return 2;
      }
    } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
      err << "Unknown option or missing value: " << arg << Qt::endl;
      return 2;
    } else {
      lists.append({arg, false});
    }
  }
  if (output.isEmpty()) {
    err << kUsage << Qt::endl;
    return 2;
  }
  TDictionaryCompiler compiler;
  compiler.SetListRules(rules);
  try {
    if (lists.isEmpty()) lists.append({QStringLiteral("-"), false});
    for (const auto &[file, flagged] : lists) {
      if (file == QLatin1String("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
          err << "Cannot read standard input." << Qt::endl;
          return 1;
        }
        compiler.AddText(in.readAll(), flagged);
      } else {
        compiler.AddFile(file, flagged);
      }
    }
    compiler.Write(output);
  } catch (const TSpellError &error) {
    err << error.Message() << Qt::endl;
    return 1;
  }
  const auto &stats = compiler.Stats();
  out << output << ": " << stats.wordsKept << " words, " << stats.nodes << " nodes, "
      << stats.dropped << " lines dropped (" << stats.notLowerCase << " for their letter case, "
      << stats.singleLetters << " single letters)" << Qt::endl;
  return 0;
}
