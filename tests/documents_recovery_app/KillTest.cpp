// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "TestEnvironment.h"
#include "documents/core/SafeSaveFiles.h"
#include "documents/recovery/RecoveryRecord.h"
#include "documents/recovery/RecoveryStore.h"

namespace {

constexpr int kTrials = 12;
constexpr int kWaitMs = 60000;  // generous: a sanitizer build on a busy machine

// A private X display for the programs of one test process.
class TDisplay {
 public:
  // A display number nobody uses, taken once the server answers there. Without -noreset the
  // server resets when its last client leaves, and a program connecting meanwhile fails.
  bool Start() {
    // Its warnings go nowhere: a pipe nobody reads while the test waits for xdotool would fill
    // and stop the server.
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    for (int n = 100 + int(::getpid() % 800); n < 1000; ++n) {
      if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)) ||
          QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
        continue;
      name_ = QStringLiteral(":%1").arg(n);
      server_.start(
          QStringLiteral("Xvfb"),
          {name_, QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24"),
           QStringLiteral("-noreset"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
      if (!server_.waitForStarted()) return false;
      const bool answers = QTest::qWaitFor(
          [&] {
            if (server_.state() != QProcess::Running) return true;
            QProcess probe;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("DISPLAY"), name_);
            probe.setProcessEnvironment(env);
            probe.start(QStringLiteral("xdotool"), {QStringLiteral("getdisplaygeometry")});
            return probe.waitForFinished(10000) && probe.exitCode() == 0;
          },
          30000);
      if (answers && server_.state() == QProcess::Running) return true;
      server_.kill();  // taken meanwhile: the next number
      server_.waitForFinished(5000);
    }
    return false;
  }
  ~TDisplay() {
    server_.terminate();
    server_.waitForFinished(5000);
  }
  QString Name() const { return name_; }

 private:
  QProcess server_;
  QString name_;
};

class KillTest : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() {
    display = new TDisplay;
    if (!display->Start()) {
      delete display;
      display = nullptr;
    }
  }
  static void TearDownTestSuite() {
    delete display;
    display = nullptr;
  }

  void SetUp() override {
    if (!display) GTEST_SKIP() << "Xvfb could not be started";
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
      GTEST_SKIP() << "xdotool is missing";
    folder = TRecoveryStore::DefaultFolder();
    // No set-up wizard: this user has run the program before.
    TestEnvironment::WriteFile(
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Kestrelwick/Vellumix.reg"),
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Kestrelwick\\Vellumix\\Main Form]\r\n"
        "\"FirstTime_Checked\"=\"False\"\r\n\"mniTip_Checked\"=\"False\"\r\n"
        "\"pnlTip_Visible\"=\"False\"\r\n");
  }

  void TearDown() override {
    for (QProcess *p : {&program, &restarted})
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(10000);
      }
  }

  QProcessEnvironment environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display->Name());
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return env;
  }

  QString xdotool(const QStringList &args) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(kWaitMs);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
  }

  // The id of the first window whose name matches pattern, once there is one.
  QString waitForWindow(const QString &pattern) const {
    QString id;
    const bool found = QTest::qWaitFor(
        [&] {
          id = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                        QStringLiteral("--name"), pattern})
                   .section(u'\n', 0, 0);
          return !id.isEmpty();
        },
        kWaitMs);
    return found ? id : QString();
  }

  // Where a program that shows no window is stuck, for the failure message.
  static QString stacks(QProcess &p) {
    if (p.state() != QProcess::Running)
      return QStringLiteral("the program ended with %1").arg(p.exitCode());
    QProcess gdb;
    gdb.start(QStringLiteral("gdb"),
              {QStringLiteral("-batch"), QStringLiteral("-p"), QString::number(p.processId()),
               QStringLiteral("-ex"), QStringLiteral("thread apply all bt 25")});
    gdb.waitForFinished(60000);
    return QString::fromLocal8Bit(gdb.readAllStandardOutput());
  }

  // The names of the visible windows, one a line, for messages.
  QString windowNames() const {
    QString names;
    for (const QString &id : xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), QStringLiteral(".")})
                                 .split(u'\n', Qt::SkipEmptyParts))
      names += xdotool({QStringLiteral("getwindowname"), id}) + u'\n';
    return names;
  }

  QString waitForWindowNow(const QString &pattern) const {
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), pattern})
        .section(u'\n', 0, 0);
  }

  void focus(const QString &window) const {
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
  }
  void type(const QString &text) const {
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("8"), text});
  }
  void key(const QString &keys) const { xdotool({QStringLiteral("key"), keys}); }

  void start(QProcess &p, const QStringList &args) {
    p.setProcessEnvironment(environment());
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(QStringLiteral(VELLUMIX_PROGRAM), args);
    ASSERT_TRUE(p.waitForStarted());
  }

  // The copies in the recovery folder that can be read, by file name.
  std::map<QString, TRecoveryRecord> copies() const {
    std::map<QString, TRecoveryRecord> found;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.vxr")}, QDir::Files))
      if (auto r = RecoveryFile::Parse(TestEnvironment::ReadFile(folder + name))) found[name] = *r;
    return found;
  }
  std::optional<TRecoveryRecord> copyOf(bool titled) const {
    for (const auto &[name, r] : copies())
      if (r.Titled() == titled) return r;
    return std::nullopt;
  }
  // Waits until the copy of the titled or untitled document holds want.
  bool waitForCopy(bool titled, const QString &want) const {
    return QTest::qWaitFor(
        [&] {
          const auto r = copyOf(titled);
          return r && r->text == want;
        },
        kWaitMs);
  }

  static inline TDisplay *display = nullptr;
  QString folder;
  QProcess program;
  QProcess restarted;
};

QString join(const QStringList &chunks, int count) { return chunks.mid(0, count).join(QString()); }

}  // namespace

TEST_P(KillTest, WhatWasKeptComesBackAndTheFileStaysWhole) {
  static const quint32 baseSeed = qEnvironmentVariableIsSet("VELLUMIX_KILL_SEED")
                                      ? qEnvironmentVariable("VELLUMIX_KILL_SEED").toUInt()
                                      : QRandomGenerator::system()->generate();
  const quint32 seed = baseSeed + quint32(GetParam());
  std::printf("kill trial %d: seed %u (VELLUMIX_KILL_SEED=%u repeats the run)\n", GetParam(), seed,
              baseSeed);
  std::mt19937 random(seed);
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };

  QDir(folder).removeRecursively();
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("kill%1").arg(GetParam()));
  const QString titledPath = dir + QStringLiteral("/titled.txt");
  const QByteArray original = "the file on disk\r\nsecond line\r\n";
  TestEnvironment::WriteFile(titledPath, original);

  QStringList titledChunks, untitledChunks;
  for (int i = 0; i < pick(2, 10); ++i)
    titledChunks << QStringLiteral("t%1w%2 ").arg(GetParam()).arg(i);
  for (int i = 0; i < pick(2, 10); ++i)
    untitledChunks << QStringLiteral("u%1w%2 ").arg(GetParam()).arg(i);
  // How the trial ends: 0 killed while typing, 1 killed once the copies are written, 2 killed
  // while typing on after a copy was written, 3 killed right after a save was started.
  const int mode = pick(0, 3);
  std::printf("  %lld titled and %lld untitled chunks, mode %d\n", qlonglong(titledChunks.size()),
              qlonglong(untitledChunks.size()), mode);

  start(program, {titledPath});
  // The main window, with the file open in it (its title names the maximised document).
  const QString window = waitForWindow(QStringLiteral("^Vellumix"));
  if (window.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(stacks(program)));
  ASSERT_FALSE(window.isEmpty()) << "windows: " << windowNames().toStdString();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return windowNames().contains(QStringLiteral("[titled.txt]")); }, kWaitMs))
      << "windows: " << windowNames().toStdString();
  focus(window);
  const QString originalText = QStringLiteral("the file on disk\nsecond line\n");
  int typedTitled = 0;
  for (; typedTitled < titledChunks.size(); ++typedTitled) type(titledChunks[typedTitled]);
  QByteArray saved;  // what a save writes, when one was started
  if (mode == 3) {
    key(QStringLiteral("ctrl+s"));
    saved = (join(titledChunks, typedTitled) + originalText).toUtf8().replace("\n", "\r\n");
  }
  if (mode != 3) key(QStringLiteral("ctrl+n"));
  if (mode != 3) {
    ASSERT_FALSE(waitForWindow(QStringLiteral("^Vellumix - \\[untitled.txt\\]$")).isEmpty());
  }
  int typedUntitled = 0;
  int keptUntitled = 0;  // chunks the untitled document's copy is known to hold
  const int stopAt = mode == 2 ? pick(1, int(untitledChunks.size())) : -1;
  for (; mode != 3 && typedUntitled < untitledChunks.size(); ++typedUntitled) {
    if (typedUntitled == stopAt) {
      ASSERT_TRUE(waitForCopy(false, join(untitledChunks, typedUntitled)));
      keptUntitled = typedUntitled;
    }
    type(untitledChunks[typedUntitled]);
  }
  if (mode == 1) {
    ASSERT_TRUE(waitForCopy(false, join(untitledChunks, typedUntitled)));
    ASSERT_TRUE(waitForCopy(true, join(titledChunks, typedTitled) + originalText));
    keptUntitled = typedUntitled;
  }
  program.kill();
  ASSERT_TRUE(program.waitForFinished(kWaitMs));

  // The file on disk: the old bytes, or, after a save, the new ones; never anything between.
  const QByteArray disk = TestEnvironment::ReadFile(titledPath);
  EXPECT_TRUE(disk == original || (!saved.isEmpty() && disk == saved)) << disk.toStdString();
  // Nothing else is left beside it, but for a save the kill stopped while it wrote: its
  // temporary file, which the next save into the folder clears away.
  for (const QString &left : QDir(dir).entryList({QStringLiteral("*.tmp*"), QStringLiteral(".*")},
                                                 QDir::Files | QDir::Hidden))
    EXPECT_TRUE(mode == 3 && SafeSaveFiles::IsTemporaryName(left)) << left.toStdString();

  // What the copies hold: a prefix of what was typed, at least what was known written.
  const auto titledCopy = copyOf(true);
  const auto untitledCopy = copyOf(false);
  if (titledCopy) {
    EXPECT_EQ(titledCopy->name, titledPath);
    EXPECT_TRUE(titledCopy->text.endsWith(originalText));
    const QString typed = titledCopy->text.chopped(originalText.size());
    EXPECT_TRUE(join(titledChunks, typedTitled).startsWith(typed)) << typed.toStdString();
  }
  if (mode == 1) {
    EXPECT_TRUE(titledCopy || disk == saved);
  }
  if (keptUntitled > 0) {
    ASSERT_TRUE(untitledCopy);
  }
  if (untitledCopy) {
    EXPECT_TRUE(join(untitledChunks, typedUntitled).startsWith(untitledCopy->text));
    EXPECT_GE(untitledCopy->text.size(), join(untitledChunks, keptUntitled).size());
  }
  const auto before = copies();
  if (before.empty()) return;  // killed before anything was kept: nothing to offer

  // The next start offers them; Recover takes them into its own workspaces.
  start(restarted, {});
  const QString offer = waitForWindow(QStringLiteral("^Recover Documents$"));
  ASSERT_FALSE(offer.isEmpty());
  // Recover is the default button. A key pressed before the window takes keys is lost, so it
  // is pressed again while the window is still there.
  QElapsedTimer pressed;
  auto pressRecover = [&] {
    focus(offer);
    key(QStringLiteral("Return"));
    pressed.start();
  };
  pressRecover();
  // Recovered: every copy now belongs to the new program, with the same text.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        if (pressed.elapsed() > 3000 &&
            !waitForWindowNow(QStringLiteral("^Recover Documents$")).isEmpty())
          pressRecover();
        const auto now = copies();
        if (now.size() != before.size()) return false;
        for (const auto &[name, r] : now)
          for (const auto &[oldName, old] : before)
            if (name == oldName) return false;
        return true;
      },
      kWaitMs));
  std::multiset<QString> textsBefore, textsAfter;
  for (const auto &[name, r] : before) textsBefore.insert(r.text);
  for (const auto &[name, r] : copies()) textsAfter.insert(r.text);
  EXPECT_EQ(textsBefore, textsAfter);
  EXPECT_EQ(TestEnvironment::ReadFile(titledPath), disk);  // recovering writes no file
}

INSTANTIATE_TEST_SUITE_P(Trials, KillTest, ::testing::Range(0, kTrials));
