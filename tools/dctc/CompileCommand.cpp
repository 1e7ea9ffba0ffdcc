#include "CompileCommand.h"

#include <QFile>

#include "DictionaryCompiler.h"
#include "SpellErrors.h"

int RunCompileCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
  QString output;
  QList<std::pair<QString, bool>> lists;  // file and whether it carries flags
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString &arg = args[i];
    if ((arg == QLatin1String("-o") || arg == QLatin1String("--flagged")) && i + 1 < args.size()) {
      if (arg == QLatin1String("-o"))
        output = args[++i];
      else
        lists.append({args[++i], true});
    } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
      err << "Unknown option or missing value: " << arg << Qt::endl;
      return 2;
    } else {
      lists.append({arg, false});
    }
  }
  if (output.isEmpty()) {
    err << "usage: -o OUT.dct [--flagged LIST]... [LIST]..." << Qt::endl;
    return 2;
  }
  TDictionaryCompiler compiler;
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
      << stats.dropped << " lines dropped" << Qt::endl;
  return 0;
}
