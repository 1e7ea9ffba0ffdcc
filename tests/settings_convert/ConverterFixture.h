#pragma once

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

// Puts the build's converter programs on PATH and makes test documents with the real tools.
class ConverterFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const QByteArray path = qgetenv("PATH");
    if (!path.startsWith(VELLUMIX_TEST_BIN_DIR)) qputenv("PATH", VELLUMIX_TEST_BIN_DIR ":" + path);
    // The converters run under the sanitizers of the build; a leak report of Qt's own
    // start-up must not turn a good conversion into a failed one.
    qputenv("ASAN_OPTIONS", "detect_leaks=0");
    dir = TestEnvironment::FreshDir(QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()));
  }

  // Runs a program to its end; its standard output, or "exit N: <errors>".
  static QString Run(const QString &program, const QStringList &args, const QByteArray &input = {}) {
    QProcess process;
    process.start(program, args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(180000)) return QStringLiteral("did not finish");
    if (process.exitCode() != 0)
      return QStringLiteral("exit %1: %2").arg(process.exitCode()).arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
  }

  // A document of another format made by pandoc from Markdown.
  QString MakeWithPandoc(const QString &name, const QByteArray &markdown) {
    const QString file = dir + u'/' + name;
    const QString result = Run(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("markdown"),
                                                          QStringLiteral("-s"), QStringLiteral("-o"), file},
                               markdown);
    EXPECT_TRUE(result.isEmpty()) << result.toStdString();
    return file;
  }

  // The text of a document as pandoc reads it back, without wrapping.
  static QString ReadWithPandoc(const QString &file) {
    return Run(QStringLiteral("pandoc"), {QStringLiteral("-t"), QStringLiteral("plain"), QStringLiteral("--wrap=none"), file});
  }

  QString dir;
};
