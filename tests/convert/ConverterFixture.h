// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <csignal>

#include "TestEnvironment.h"
#include "convert/core/TextConverters.h"

// Puts the build's converter programs on PATH and makes test documents with the real tools.
class ConverterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const QByteArray path = qgetenv("PATH");
    if (!path.startsWith(VELLUMIX_TEST_BIN_DIR)) qputenv("PATH", VELLUMIX_TEST_BIN_DIR ":" + path);
    // The converters run under the sanitizers of the build; a leak report of Qt's own
    // start-up must not turn a good conversion into a failed one.
    qputenv("ASAN_OPTIONS", "detect_leaks=0");
    dir = TestEnvironment::FreshDir(
        QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }

  void TearDown() override {
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_DIRS").section(u':', 0, 0) +
                  QStringLiteral("/vellumix/machine.reg"));
  }

  // Runs a program to its end; its standard output, or "exit N: <errors>".
  static QString Run(const QString &program, const QStringList &args,
                     const QByteArray &input = {}) {
    QProcess process;
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(180000)) return QStringLiteral("did not finish");
    if (process.exitCode() != 0)
      return QStringLiteral("exit %1: %2")
          .arg(process.exitCode())
          .arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
  }

  // A document of another format made by pandoc from Markdown.
  QString MakeWithPandoc(const QString &name, const QByteArray &markdown,
                         const QStringList &extra = {}) {
    const QString file = dir + u'/' + name;
    const QString result = Run(QStringLiteral("pandoc"),
                               QStringList{QStringLiteral("-f"), QStringLiteral("markdown"),
                                           QStringLiteral("-s"), QStringLiteral("-o"), file} +
                                   extra,
                               markdown);
    EXPECT_TRUE(result.isEmpty()) << result.toStdString();
    return file;
  }

  // Documents made by LibreOffice from files of the test's folder, all in one run (it starts
  // slowly): each source file becomes <base>.<extension>.
  QString MakeWithOffice(const QString &filter, const QStringList &sources) {
    const QString profile =
        QStringLiteral("-env:UserInstallation=file://") + dir + QStringLiteral("/profile");
    return Run(QStringLiteral("soffice"),
               QStringList{QStringLiteral("--headless"), profile, QStringLiteral("--convert-to"),
                           filter, QStringLiteral("--outdir"), dir} +
                   sources);
  }

  static bool HaveOffice() {
    return !QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty();
  }

  // The text of a document as pandoc reads it back, without wrapping.
  static QString ReadWithPandoc(const QString &file) {
    return Run(QStringLiteral("pandoc"), {QStringLiteral("-t"), QStringLiteral("plain"),
                                          QStringLiteral("--wrap=none"), file});
  }

  // An executable shell script in the test's folder.
  QString Script(const QString &name, const QByteArray &body) {
    const QString file = TestEnvironment::WriteFile(dir + u'/' + name, "#!/bin/sh\n" + body);
    QFile::setPermissions(file, QFile::permissions(file) | QFile::ExeOwner);
    return file;
  }

  // A converter that answers ready and check and then hangs with a child of its own, whose
  // process id it writes to <dir>/child.pid.
  QString HangingConverter() {
    return Script(QStringLiteral("hang.sh"),
                  "case \"$3\" in ready|check) exit 0;; esac\nsleep 600 &\necho $! > '" +
                      dir.toUtf8() + "/child.pid'\nwait\n");
  }

  // The process id the hanging converter's child wrote, once it is there.
  qint64 ChildPid() const {
    const QString file = dir + QStringLiteral("/child.pid");
    return QFile::exists(file) ? TestEnvironment::ReadFile(file).trimmed().toLongLong() : 0;
  }

  // Whether a process still runs (a zombie waiting for its parent does not).
  static bool Alive(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(") ") + 2, 1) != "Z";
  }

  // Waits (with a generous limit) until a process has ended.
  static bool Ended(qint64 pid) {
    return QTest::qWaitFor([pid] { return !Alive(pid); }, 30000);
  }

  // Lets events run until the condition holds (with a generous limit).
  template <typename Condition>
  static bool WaitFor(Condition condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < 30000) {
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
  }

  // The converter registration of a test's own, as the machine-wide file of the private
  // configuration folder ($XDG_CONFIG_DIRS/vellumix/machine.reg).
  static void RegisterMachineWide(const QByteArray &registrations) {
    const QString folder =
        qEnvironmentVariable("XDG_CONFIG_DIRS").section(u':', 0, 0) + QStringLiteral("/vellumix");
    QDir().mkpath(folder);
    TestEnvironment::WriteFile(folder + QStringLiteral("/machine.reg"),
                               "Windows Registry Editor Version 5.00\n\n" + registrations);
  }

  static QByteArray Registration(const char *direction, const QByteArray &key,
                                 const QByteArray &name, const QByteArray &extensions,
                                 const QString &path, const QByteArray &more = {}) {
    return QByteArray("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\Text Converters\\") +
           direction + '\\' + key + "]\n\"Name\"=\"" + name + "\"\n\"Extensions\"=\"" + extensions +
           "\"\n\"Path\"=\"" + path.toUtf8() + "\"\n" + more + "\n";
  }

  QString dir;
};

// The converters of the machine and what they said: messages and errors apart, and both in the
// order they came.
class ConvertersFixture : public ConverterFixture {
 protected:
  void SetUp() override {
    ConverterFixture::SetUp();
    Wire(converters);
  }
  void Wire(TTextConverters &c) {
    c.ShowMessage = [this](const QString &text) {
      messages << text;
      problems << text;
    };
    c.ShowError = [this](const QString &text) {
      errors << text;
      problems << text;
    };
  }
  // The text of a file imported by the named converter; a failure is a test failure.
  QString Import(const QString &file, const QString &name) {
    QString text;
    EXPECT_TRUE(converters.ImportFile(file, name, text))
        << name.toStdString() << ": " << problems.join(u' ').toStdString();
    return text;
  }
  TTextConverters converters;
  QStringList messages;
  QStringList errors;
  QStringList problems;
};
