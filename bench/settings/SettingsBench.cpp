// SPDX-License-Identifier: GPL-3.0-or-later
// Times the settings store on a file shaped like the program's (a few sections of short
// values) and on a large one, against QSettings in INI format doing the same work:
//  - load: open the file and read every value once;
//  - save: change one value and write the file back;
//  - cycle: what a window does at a close, open the root key, write every value, close.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "settings/core/RegFile.h"
#include "settings/core/RootKey.h"

namespace {

constexpr int sections = 8;

double MillisecondsPerRun(int runs, const std::function<void()> &work) {
  work();  // warm up
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < runs; ++i) work();
  return double(timer.nsecsElapsed()) / 1e6 / runs;
}

QString SectionName(int s) { return QStringLiteral("Section %1").arg(s); }
QString ValueName(int v) { return QStringLiteral("ctl%1_Caption").arg(v); }

void Run(const QString &dir, int values, int runs) {
  const QString regPath = dir + QStringLiteral("/bench.reg");
  const QString iniPath = dir + QStringLiteral("/bench.ini");
  {
    TSettingsStore store(regPath);
    TRootKey root(VellumixRootKey, store);
    QSettings ini(iniPath, QSettings::IniFormat);
    for (int s = 0; s < sections; ++s)
      for (int v = 0; v < values; ++v) {
        root.WriteString(SectionName(s), ValueName(v),
                         QStringLiteral("value %1 of %2").arg(v).arg(s));
        ini.setValue(SectionName(s) + u'/' + ValueName(v),
                     QStringLiteral("value %1 of %2").arg(v).arg(s));
      }
  }
  const qint64 regSize = QFile(regPath).size(), iniSize = QFile(iniPath).size();

  const double regLoad = MillisecondsPerRun(runs, [&] {
    TSettingsStore store(regPath);
    TRootKey root(VellumixRootKey, store);
    for (int s = 0; s < sections; ++s)
      for (int v = 0; v < values; ++v) root.ReadString(SectionName(s), ValueName(v), QString());
  });
  const double iniLoad = MillisecondsPerRun(runs, [&] {
    QSettings ini(iniPath, QSettings::IniFormat);
    for (int s = 0; s < sections; ++s)
      for (int v = 0; v < values; ++v) ini.value(SectionName(s) + u'/' + ValueName(v));
  });
  int counter = 0;
  const double regSave = MillisecondsPerRun(runs, [&] {
    TSettingsStore store(regPath);
    TRootKey root(VellumixRootKey, store);
    root.WriteInteger(SectionName(0), ValueName(0), ++counter);
  });
  const double iniSave = MillisecondsPerRun(runs, [&] {
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setValue(SectionName(0) + u'/' + ValueName(0), ++counter);
    ini.sync();
  });
  TSettingsStore kept(regPath);
  const double regCycle = MillisecondsPerRun(runs, [&] {
    TRootKey root(VellumixRootKey, kept);
    ++counter;
    for (int v = 0; v < values; ++v)
      root.WriteString(SectionName(1), ValueName(v), QString::number(counter + v));
  });
  QSettings keptIni(iniPath, QSettings::IniFormat);
  const double iniCycle = MillisecondsPerRun(runs, [&] {
    ++counter;
    for (int v = 0; v < values; ++v)
      keptIni.setValue(SectionName(1) + u'/' + ValueName(v), QString::number(counter + v));
    keptIni.sync();
  });
  const QByteArray bytes = [&] {
    QFile file(regPath);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }();
  const double parse = MillisecondsPerRun(runs, [&] { RegFile::Parse(bytes); });

  std::printf("%d values (%lld bytes .reg, %lld bytes .ini)\n", sections * values, regSize,
              iniSize);
  std::printf("  %-34s %10s %10s\n", "ms per run", "store", "QSettings");
  std::printf("  %-34s %10.3f %10.3f\n", "load and read every value", regLoad, iniLoad);
  std::printf("  %-34s %10.3f %10.3f\n", "change one value and write", regSave, iniSave);
  std::printf("  %-34s %10.3f %10.3f\n", "window close: write a section", regCycle, iniCycle);
  std::printf("  %-34s %10.3f %10s\n", "parse only", parse, "-");
}

}  // namespace

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  if (argc > 1) {
    Run(dir.path(), QByteArray(argv[1]).toInt(), 20);
    return 0;
  }
  Run(dir.path(), 12, 200);   // about the program's own size: ~100 values
  Run(dir.path(), 1250, 10);  // 10,000 values
  return 0;
}
