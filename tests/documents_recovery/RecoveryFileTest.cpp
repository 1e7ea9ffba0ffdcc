// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "TestEnvironment.h"
#include "documents/recovery/PrivateFile.h"
#include "documents/recovery/RecoveryRecord.h"

namespace {

TRecoveryRecord titled() {
  TRecoveryRecord r;
  r.name = QStringLiteral("/home/ann/notes 100%\ndraft.txt");
  r.diskKnown = true;
  r.diskSize = 1234;
  r.diskModifiedNs = 1765000000123456789;
  r.format = {TTextEncoding::Windows1252, TLineEnd::CrLf, {}};
  r.caret = 5;
  r.changedMs = 1765000000999;
  r.text = QStringLiteral("caf\u00e9\nsecond line\n\u00a0tab\there");
  return r;
}

void expectSame(const TRecoveryRecord &a, const TRecoveryRecord &b) {
  EXPECT_EQ(a.name, b.name);
  EXPECT_EQ(a.diskKnown, b.diskKnown);
  EXPECT_EQ(a.diskSize, b.diskSize);
  EXPECT_EQ(a.diskModifiedNs, b.diskModifiedNs);
  EXPECT_EQ(a.format.encoding, b.format.encoding);
  EXPECT_EQ(a.format.lineEnd, b.format.lineEnd);
  EXPECT_EQ(a.caret, b.caret);
  EXPECT_EQ(a.changedMs, b.changedMs);
  EXPECT_EQ(a.session, b.session);
  EXPECT_EQ(a.text, b.text);
}

}  // namespace

TEST(RecoveryFile, RoundTripsEveryField) {
  const TRecoveryRecord r = titled();
  QString error;
  const auto back = RecoveryFile::Parse(RecoveryFile::Serialize(r), &error);
  ASSERT_TRUE(back) << error.toStdString();
  expectSame(r, *back);
  EXPECT_TRUE(back->Titled());

  TRecoveryRecord untitled;
  untitled.name = QStringLiteral(" /home/ann/untitled.txt");
  untitled.session = true;
  untitled.format.lineEnd = TLineEnd::Cr;
  const auto empty = RecoveryFile::Parse(RecoveryFile::Serialize(untitled));
  ASSERT_TRUE(empty);
  expectSame(untitled, *empty);
  EXPECT_FALSE(empty->Titled());
}

TEST(RecoveryFile, KeepsTextThatUtf8CannotCarry) {
  // The stand-ins of a file's unreadable bytes are lone surrogates: they must come back as
  // they were, or a save after recovery would write other bytes.
  TRecoveryRecord r = titled();
  r.text = QStringLiteral("a") + QChar(char16_t(0xDC81)) + QStringLiteral("b\U0001F600c") +
           QChar(char16_t(0xDCFF));
  const auto back = RecoveryFile::Parse(RecoveryFile::Serialize(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->text, r.text);
}

TEST(RecoveryFile, DamagedCopiesAreRefusedWithAReason) {
  const QByteArray good = RecoveryFile::Serialize(titled());
  QByteArray flipped = good;
  flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x20);
  QByteArray badCaret = good;
  badCaret.replace("caret 5", "caret x");
  QByteArray noEncoding = good;
  noEncoding.replace("encoding windows-1252\n", "");
  QByteArray hugeLength = good;
  const qsizetype at = hugeLength.indexOf("text utf-8 ") + 11;
  hugeLength.insert(at, "99999999999");
  const QList<QByteArray> damaged = {
      QByteArray(),
      QByteArray("VELLUMIX RECOVERY 1"),  // no header end
      good.left(good.size() - 1),         // cut short
      good + "x",                         // trailing bytes
      flipped,
      badCaret,
      noEncoding,
      hugeLength,
      QByteArray("VELLUMIX RECOVERY 2\nname a\n"),  // another version
      QByteArray("plain text someone saved here\n"),
      QByteArray("VELLUMIX RECOVERY 1\n") + QByteArray(RecoveryFile::MaxHeaderSize + 10, 'n'),
  };
  for (const QByteArray &bytes : damaged) {
    QString error;
    EXPECT_FALSE(RecoveryFile::Parse(bytes, &error)) << bytes.left(60).toStdString();
    EXPECT_FALSE(error.isEmpty());
  }
}

TEST(RecoveryFile, CaretBeyondTheTextIsKeptInside) {
  TRecoveryRecord r = titled();
  r.caret = 10'000;
  const auto back = RecoveryFile::Parse(RecoveryFile::Serialize(r));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->caret, r.text.size());
}

TEST(PrivateFile, WritesOwnerOnlyAndReplacesWhole) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("private"));
  ASSERT_TRUE(PrivateFile::MakeFolder(dir + QStringLiteral("/a/b")));
  struct stat st;
  ASSERT_EQ(::stat(QFile::encodeName(dir + QStringLiteral("/a/b")).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  const QString path = dir + QStringLiteral("/a/b/copy.vxr");
  TestEnvironment::WriteFile(path, "old and longer content");
  ::chmod(QFile::encodeName(path).constData(), 0644);
  QString error;
  ASSERT_TRUE(PrivateFile::WriteAtomically(path, "new", &error)) << error.toStdString();
  EXPECT_EQ(TestEnvironment::ReadFile(path), QByteArray("new"));
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  EXPECT_EQ(QDir(dir + QStringLiteral("/a/b")).entryList(QDir::Files).size(),
            1);  // no temporary left
}

TEST(PrivateFile, AFailedWriteLeavesNothingBehind) {
  const QString dir = TestEnvironment::FreshDir(QStringLiteral("failing"));
  QString error;
  EXPECT_FALSE(
      PrivateFile::WriteAtomically(dir + QStringLiteral("/missing/copy.vxr"), "x", &error));
  EXPECT_FALSE(error.isEmpty());
  // A folder where the name is taken by a folder: the rename fails, the temporary goes.
  ASSERT_TRUE(QDir().mkpath(dir + QStringLiteral("/taken/inner")));
  TestEnvironment::WriteFile(dir + QStringLiteral("/taken/inner/keep"), "k");
  EXPECT_FALSE(PrivateFile::WriteAtomically(dir + QStringLiteral("/taken/inner"), "x", &error));
  EXPECT_EQ(QDir(dir + QStringLiteral("/taken")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("inner")});
}
