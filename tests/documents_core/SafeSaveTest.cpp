// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <cerrno>
#include <functional>
#include <iostream>
#include <random>

#include "TestEnvironment.h"
#include "documents/core/DocumentSave.h"
#include "documents/core/RtfReader.h"
#include "documents/core/SafeSave.h"
#include "documents/core/SafeSaveFiles.h"
#include "documents/core/SaveEncoding.h"
#include "documents/core/SaveNames.h"

using TestEnvironment::FreshDir;
using TestEnvironment::ReadFile;
using TestEnvironment::WriteFile;

namespace {
QByteArray Native(const QString &path) { return QFile::encodeName(path); }

struct stat StatOf(const QString &path) {
  struct stat st {};
  ::stat(Native(path).constData(), &st);
  return st;
}

// A writer that stops after a number of bytes as a full disk does.
class TFullDiskWriter : public TByteWriter {
 public:
  explicit TFullDiskWriter(qint64 room) : room_(room) {}
  qint64 Write(int fd, const char *data, qint64 size) override {
    if (room_ == 0) {
      errno = ENOSPC;
      return -1;
    }
    const qint64 n = TByteWriter::Write(fd, data, std::min(size, room_));
    if (n > 0) room_ -= n;
    return n;
  }

 private:
  qint64 room_;
};

// A writer whose process dies after a number of bytes, as when the program is killed.
class TKilledWriter : public TByteWriter {
 public:
  explicit TKilledWriter(qint64 room) : room_(room) {}
  qint64 Write(int fd, const char *data, qint64 size) override {
    TByteWriter::Write(fd, data, std::min(size, room_));
    ::raise(SIGKILL);
    return -1;
  }

 private:
  qint64 room_;
};

// Runs body in a child process, as the user nobody when this process is root (so that
// permissions are enforced); returns the child's exit code, or -signal when it was killed.
int InChild(const std::function<int()> &body, bool dropPrivileges) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (dropPrivileges && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(99);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

QStringList VisibleFiles(const QString &folder) {
  return QDir(folder).entryList(QDir::Files | QDir::System, QDir::Name);
}
QStringList AllFiles(const QString &folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
}  // namespace

TEST(SaveNames, BackupNameReplacesTheLastExtensionOfTheFileNamePart) {
  using SaveNames::BackupFileName;
  EXPECT_EQ(BackupFileName(QStringLiteral("/d/notes.txt")), QStringLiteral("/d/notes.bak"));
  EXPECT_EQ(BackupFileName(QStringLiteral("/d/notes.tar.txt")), QStringLiteral("/d/notes.tar.bak"));
  EXPECT_EQ(BackupFileName(QStringLiteral("/d/README")), QStringLiteral("/d/README.bak"));
  // A dot in a folder name is no extension.
  EXPECT_EQ(BackupFileName(QStringLiteral("/my.dir/README")), QStringLiteral("/my.dir/README.bak"));
  EXPECT_EQ(BackupFileName(QStringLiteral("/d/.bashrc")), QString());
  EXPECT_EQ(BackupFileName(QStringLiteral("/d/old.bak")), QString());
  EXPECT_TRUE(SaveNames::IsUntitled(QStringLiteral("/home/u/untitled.txt")));
  EXPECT_FALSE(SaveNames::IsUntitled(QStringLiteral("/home/u/my untitled.txt")));
  EXPECT_EQ(SaveNames::WithDefaultExtension(QStringLiteral("/a.b/letter"), QStringLiteral("txt")),
            QStringLiteral("/a.b/letter.txt"));
  EXPECT_EQ(SaveNames::WithDefaultExtension(QStringLiteral("/a/x.md"), QStringLiteral("txt")),
            QStringLiteral("/a/x.md"));
  EXPECT_TRUE(SaveNames::IsRichTextName(QStringLiteral("/a/Letter.RtF")));
  EXPECT_FALSE(SaveNames::IsRichTextName(QStringLiteral("/a.rtf/letter")));
  EXPECT_EQ(SaveNames::CannotCreateText(QStringLiteral("/x/y.txt")),
            QStringLiteral("Cannot create file /x/y.txt."));
}

// The folder a save writes its temporary and kept files in, and their hidden names there.
TEST(SafeSaveFiles, FolderAndHiddenNamesOfAFile) {
  using SafeSaveFiles::FolderOf;
  using SafeSaveFiles::HiddenName;
  EXPECT_EQ(FolderOf(QStringLiteral("/home/u/a b/notes.txt")), QStringLiteral("/home/u/a b"));
  EXPECT_EQ(FolderOf(QStringLiteral("/notes.txt")), QStringLiteral("/"));
  EXPECT_EQ(
      HiddenName(QStringLiteral("/"), QStringLiteral("notes.txt"), QLatin1String(".previous")),
      QStringLiteral("/.notes.txt.previous"));
  EXPECT_EQ(HiddenName(QStringLiteral("/d"), QStringLiteral("n"), QLatin1String(".x")),
            QStringLiteral("/d/.n.x"));
}

TEST(SafeSave, BackupsFollowTheSavesAndANewFileGetsNone) {
  const QString dir = FreshDir(QStringLiteral("backup"));
  const QString name = dir + QStringLiteral("/notes.txt");
  TSafeSave saver;
  saver.SetMakeBackup(true);
  auto first = saver.Save(name, "version 1");
  ASSERT_TRUE(first.Saved()) << first.detail.toStdString();
  EXPECT_TRUE(first.backupName.isEmpty());
  EXPECT_EQ(VisibleFiles(dir), QStringList{QStringLiteral("notes.txt")});

  ASSERT_TRUE(saver.Save(name, "version 2").Saved());
  EXPECT_EQ(ReadFile(dir + QStringLiteral("/notes.bak")), QByteArray("version 1"));
  auto third = saver.Save(name, "version 3");
  ASSERT_TRUE(third.Saved());
  EXPECT_EQ(third.backupName, dir + QStringLiteral("/notes.bak"));
  EXPECT_EQ(ReadFile(name), QByteArray("version 3"));
  EXPECT_EQ(ReadFile(dir + QStringLiteral("/notes.bak")), QByteArray("version 2"));
  // Nothing else is left in the folder, hidden files included.
  EXPECT_EQ(AllFiles(dir), (QStringList{QStringLiteral("notes.bak"), QStringLiteral("notes.txt")}));

  saver.SetMakeBackup(false);
  ASSERT_TRUE(saver.Save(name, "version 4").Saved());
  EXPECT_EQ(ReadFile(dir + QStringLiteral("/notes.bak")), QByteArray("version 2"));
}

TEST(SafeSave, PermissionsAndOwnerAreKept) {
  const QString dir = FreshDir(QStringLiteral("mode"));
  const QString name = WriteFile(dir + QStringLiteral("/secret.txt"), "old");
  ASSERT_EQ(::chmod(Native(name).constData(), 0600), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(Native(name).constData(), 4321, 4321), 0);
  }
  const ino_t before = StatOf(name).st_ino;
  TSafeSave saver;
  ASSERT_TRUE(saver.Save(name, "new").Saved());
  const struct stat after = StatOf(name);
  EXPECT_EQ(after.st_mode & 07777, 0600u);
  EXPECT_NE(after.st_ino, before);  // replaced, not truncated
  if (root) {
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 4321u);
  }
  // A new file gets the usual permissions of new files, not the temporary file's.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const QString fresh = dir + QStringLiteral("/fresh.txt");
  ASSERT_TRUE(saver.Save(fresh, "x").Saved());
  EXPECT_EQ(StatOf(fresh).st_mode & 07777, 0666u & ~mask);
}

TEST(SafeSave, SymbolicLinksStayLinksAndTheirTargetIsSaved) {
  const QString dir = FreshDir(QStringLiteral("links"));
  const QString real = WriteFile(dir + QStringLiteral("/real/doc.txt"), "old");
  const QString link = dir + QStringLiteral("/doc.txt");
  ASSERT_EQ(::symlink("real/doc.txt", Native(link).constData()), 0);
  TSafeSave saver;
  saver.SetMakeBackup(true);
  ASSERT_TRUE(saver.Save(link, "new").Saved());
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(ReadFile(real), QByteArray("new"));
  // The backup sits beside the name the user saved under.
  EXPECT_EQ(ReadFile(dir + QStringLiteral("/doc.bak")), QByteArray("old"));
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/real/doc.bak")));

  // A link whose target does not exist yet creates the target.
  const QString dangling = dir + QStringLiteral("/later.txt");
  ASSERT_EQ(::symlink("real/later.txt", Native(dangling).constData()), 0);
  ASSERT_TRUE(saver.Save(dangling, "made").Saved());
  EXPECT_TRUE(QFileInfo(dangling).isSymLink());
  EXPECT_EQ(ReadFile(dir + QStringLiteral("/real/later.txt")), QByteArray("made"));

  // Links that loop are refused with a reason.
  const QString loop = dir + QStringLiteral("/loop.txt");
  ASSERT_EQ(::symlink("loop.txt", Native(loop).constData()), 0);
  auto looped = saver.Save(loop, "x");
  EXPECT_FALSE(looped.Saved());
  EXPECT_EQ(looped.error, SaveNames::CannotCreateText(loop));
}

TEST(SafeSave, HardLinkedFilesAreWrittenInPlace) {
  const QString dir = FreshDir(QStringLiteral("hard"));
  const QString name = WriteFile(dir + QStringLiteral("/a.txt"), "old text");
  const QString other = dir + QStringLiteral("/b.txt");
  ASSERT_EQ(::link(Native(name).constData(), Native(other).constData()), 0);
  const ino_t inode = StatOf(name).st_ino;
  TSafeSave saver;
  ASSERT_TRUE(saver.Save(name, "new text").Saved());
  EXPECT_EQ(StatOf(name).st_ino, inode);
  EXPECT_EQ(ReadFile(other), QByteArray("new text"));
  EXPECT_EQ(AllFiles(dir), (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));

  saver.SetMakeBackup(true);
  ASSERT_TRUE(saver.Save(name, "newer").Saved());
  EXPECT_EQ(ReadFile(dir + QStringLiteral("/a.bak")), QByteArray("new text"));
  EXPECT_EQ(ReadFile(other), QByteArray("newer"));

  // A write that fails half-way puts the previous content back.
  TFullDiskWriter full(2);
  TSafeSave failing(&full);
  auto outcome = failing.Save(name, "this will not fit");
  EXPECT_FALSE(outcome.Saved());
  EXPECT_EQ(outcome.detail, QStringLiteral("The disk is full."));
  EXPECT_EQ(ReadFile(other), QByteArray("newer"));
  EXPECT_EQ(StatOf(name).st_ino, inode);
}

TEST(SafeSave, AFullDiskLeavesThePreviousFileAndNoLeftovers) {
  const QString dir = FreshDir(QStringLiteral("full"));
  const QString name = WriteFile(dir + QStringLiteral("/doc.txt"), "precious");
  for (bool backups : {false, true}) {
    TFullDiskWriter full(5);
    TSafeSave saver(&full);
    saver.SetMakeBackup(backups);
    auto outcome = saver.Save(name, QByteArray(100000, 'x'));
    EXPECT_EQ(outcome.status, TSaveStatus::Failed);
    EXPECT_EQ(outcome.error, QStringLiteral("Cannot create file ") + name + u'.');
    EXPECT_EQ(outcome.detail, QStringLiteral("The disk is full."));
    EXPECT_EQ(ReadFile(name), QByteArray("precious"));
    EXPECT_EQ(AllFiles(dir), QStringList{QStringLiteral("doc.txt")});
  }
}

TEST(SafeSave, AProcessKilledMidSaveLeavesThePreviousFileIntact) {
  const QString dir = FreshDir(QStringLiteral("killed"));
  const QString name = WriteFile(dir + QStringLiteral("/doc.txt"), "the previous version");
  const int result = InChild(
      [&] {
        TKilledWriter killed(3);
        TSafeSave saver(&killed);
        saver.SetMakeBackup(true);
        saver.Save(name, QByteArray(50000, 'n'));
        return 0;
      },
      false);
  EXPECT_EQ(result, -SIGKILL);
  EXPECT_EQ(ReadFile(name), QByteArray("the previous version"));
  EXPECT_EQ(VisibleFiles(dir), QStringList{QStringLiteral("doc.txt")});
}

// A child process saves name over and over, alternating between two texts, until this process
// kills it at a random moment; whatever the moment, the file holds one of the texts, or (for a
// file written in place) the copy kept beside it does and the next open is told so. The next
// save leaves no hidden file behind.
namespace {
void KillDuringSaves(const QString &name, const QStringList &otherNames, unsigned seed) {
  const QString dir = SafeSaveFiles::FolderOf(name);
  const QByteArray first = QByteArray("first\n").repeated(200000);
  const QByteArray second = QByteArray("the second text\n").repeated(90000);
  std::mt19937 random(seed);
  int torn = 0;
  for (int trial = 0; trial < 12; ++trial) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed << ", trial " << trial);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(ready[0]);
      TSafeSave saver;
      saver.SetMakeBackup(trial % 3 == 2);
      for (int i = 0;; ++i) {
        saver.Save(name, i % 2 ? second : first);
        if (i == 0) (void)!::write(ready[1], "x", 1);
      }
    }
    ::close(ready[1]);
    char byte = 0;
    const bool started = ::read(ready[0], &byte, 1) == 1;  // the first save is done
    ::close(ready[0]);
    if (started) ::usleep(std::uniform_int_distribution<unsigned>(0, 40000)(random));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(started) << "the saving process ended before its first save";

    const QByteArray now = ReadFile(name);
    for (const QString &other : otherNames) EXPECT_EQ(ReadFile(other), now);
    if (now != first && now != second) {
      // Only a file written in place (one with another name) can be caught half-written.
      ASSERT_FALSE(otherNames.isEmpty())
          << "the file holds " << now.size() << " bytes of neither text";
      ++torn;
      const QString kept = TSafeSave::InterruptedCopyOf(name);
      ASSERT_FALSE(kept.isEmpty()) << "the file holds " << now.size() << " bytes of neither text";
      const QByteArray copy = ReadFile(kept);
      EXPECT_TRUE(copy == first || copy == second);
    }
    TSafeSave next;
    ASSERT_TRUE(next.Save(name, "after the kill").Saved());
    EXPECT_TRUE(TSafeSave::InterruptedCopyOf(name).isEmpty());
    QStringList expected{SaveNames::FileNamePart(name)};
    for (const QString &other : otherNames) expected.append(SaveNames::FileNamePart(other));
    if (QFileInfo::exists(SaveNames::BackupFileName(name))) {
      expected.append(SaveNames::FileNamePart(SaveNames::BackupFileName(name)));
      // The backup is a file of its own, never another name of the document.
      EXPECT_NE(StatOf(SaveNames::BackupFileName(name)).st_ino, StatOf(name).st_ino);
    }
    expected.sort();
    EXPECT_EQ(AllFiles(dir).join(u'|').toStdString(), expected.join(u'|').toStdString());
  }
  std::cout << "[ killed ] 12 saves of " << name.toStdString() << " (seed " << seed << "), " << torn
            << " left the file torn and its copy offered\n";
}
}  // namespace

TEST(SafeSave, KilledAtAnyMomentAPlainFileHoldsTheOldOrTheNewText) {
  const QString dir = FreshDir(QStringLiteral("kill-plain"));
  KillDuringSaves(WriteFile(dir + QStringLiteral("/doc.txt"), "start"), {},
                  TestEnvironment::Seed());
}

TEST(SafeSave, KilledAtAnyMomentAHardLinkedFileOrItsKeptCopyHoldsAWholeText) {
  const QString dir = FreshDir(QStringLiteral("kill-linked"));
  const QString name = WriteFile(dir + QStringLiteral("/doc.txt"), "start");
  const QString other = dir + QStringLiteral("/other name.txt");
  ASSERT_EQ(::link(Native(name).constData(), Native(other).constData()), 0);
  KillDuringSaves(name, {other}, TestEnvironment::Seed());
  EXPECT_EQ(StatOf(name).st_nlink, 2u);
}

TEST(SafeSave, AnInterruptedSaveInPlaceIsFoundByTheNextOpen) {
  const QString dir = FreshDir(QStringLiteral("interrupted"));
  const QString name = WriteFile(dir + QStringLiteral("/doc.txt"), "the whole previous text");
  const QString other = dir + QStringLiteral("/link.txt");
  ASSERT_EQ(::link(Native(name).constData(), Native(other).constData()), 0);
  EXPECT_TRUE(TSafeSave::InterruptedCopyOf(name).isEmpty());
  const int result = InChild(
      [&] {
        TKilledWriter killed(7);
        TSafeSave saver(&killed);
        saver.Save(name, "a new text that never arrives whole");
        return 0;
      },
      false);
  ASSERT_EQ(result, -SIGKILL);
  EXPECT_EQ(ReadFile(other), QByteArray("a new t"));
  const QString kept = TSafeSave::InterruptedCopyOf(name);
  ASSERT_EQ(kept, dir + QStringLiteral("/.doc.txt.previous"));
  EXPECT_EQ(ReadFile(kept), QByteArray("the whole previous text"));
  // Through the other name, and again: the copy stays until the file is saved.
  EXPECT_EQ(TSafeSave::InterruptedCopyOf(other), QString());
  EXPECT_EQ(TSafeSave::InterruptedCopyOf(name), kept);

  // A copy that holds just what the file holds (stopped before the file was touched) goes.
  WriteFile(kept, ReadFile(name));
  EXPECT_EQ(TSafeSave::InterruptedCopyOf(name), QString());
  EXPECT_FALSE(QFileInfo::exists(kept));
}

TEST(SafeSave, StaleTemporaryFilesOfStoppedSavesAreRemovedByTheNextSave) {
  const QString dir = FreshDir(QStringLiteral("stale"));
  const QString name = WriteFile(dir + QStringLiteral("/doc.txt"), "text");
  auto old = [&](const QString &file) {
    QString path = WriteFile(dir + u'/' + file, "left over");
    struct timespec times[2] = {{0, UTIME_OMIT}, {1000000, 0}};
    EXPECT_EQ(::utimensat(AT_FDCWD, Native(path).constData(), times, 0), 0);
    return path;
  };
  const QStringList stale = {QStringLiteral(".doc.txt.vellumix-Ab12Cd"),
                             QStringLiteral("..doc.txt.previous.vellumix-zzzzzz"),
                             QStringLiteral(".other file.vellumix-000000")};
  for (const QString &file : stale) old(file);
  // Files that only look alike, a link, one that a running save holds, and one written
  // after this save began are all kept.
  const QStringList kept = {
      QStringLiteral(".doc.txt.backup"),          QStringLiteral(".doc.txt.previous"),
      QStringLiteral("doc.txt.vellumix-Ab12Cd"),  QStringLiteral(".doc.txt.vellumix-Ab12C"),
      QStringLiteral(".doc.txt.vellumix-Ab12C!"), QStringLiteral(".held.vellumix-aaaaaa"),
      QStringLiteral(".new.vellumix-bbbbbb"),     QStringLiteral(".link.vellumix-cccccc")};
  for (const QString &file : kept.mid(0, 6)) old(file);
  const int held =
      ::open(Native(dir + QStringLiteral("/.held.vellumix-aaaaaa")).constData(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const QString newer = WriteFile(dir + QStringLiteral("/.new.vellumix-bbbbbb"), "being written");
  struct timespec future[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 3600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, Native(newer).constData(), future, 0), 0);
  ASSERT_EQ(
      ::symlink("doc.txt", Native(dir + QStringLiteral("/.link.vellumix-cccccc")).constData()), 0);

  TSafeSave saver;
  ASSERT_TRUE(saver.Save(name, "saved").Saved());
  ::close(held);
  QStringList expected = kept;
  expected.append(QStringLiteral("doc.txt"));
  expected.removeOne(QStringLiteral(".doc.txt.previous"));  // the saved file's own copy goes too
  expected.sort();
  EXPECT_EQ(AllFiles(dir).join(u'|').toStdString(), expected.join(u'|').toStdString());
}

TEST(SafeSave, NewFilesFollowTheUmaskAndTemporaryFilesNeverWidenAccess) {
  const QString dir = FreshDir(QStringLiteral("modes"));
  const mode_t previous = ::umask(027);
  TSafeSave saver;
  ASSERT_TRUE(saver.Save(dir + QStringLiteral("/new.txt"), "x").Saved());
  EXPECT_EQ(StatOf(dir + QStringLiteral("/new.txt")).st_mode & 07777, 0640u);
  ::umask(022);
  ASSERT_TRUE(saver.Save(dir + QStringLiteral("/other.txt"), "x").Saved());
  EXPECT_EQ(StatOf(dir + QStringLiteral("/other.txt")).st_mode & 07777, 0644u);
  ::umask(previous);

  // A private file stays private, also while its new content is written.
  const QString secret = WriteFile(dir + QStringLiteral("/secret.txt"), "old");
  ASSERT_EQ(::chmod(Native(secret).constData(), 0600), 0);
  class TModeWriter : public TByteWriter {
   public:
    mode_t seen = 0;
    qint64 Write(int fd, const char *data, qint64 size) override {
      struct stat st {};
      ::fstat(fd, &st);
      seen |= st.st_mode & 07777;
      return TByteWriter::Write(fd, data, size);
    }
  } watcher;
  TSafeSave watched(&watcher);
  ASSERT_TRUE(watched.Save(secret, "new secret").Saved());
  EXPECT_EQ(watcher.seen, 0600u);
  EXPECT_EQ(StatOf(secret).st_mode & 07777, 0600u);
}

TEST(SafeSave, ReadOnlyFilesAndFoldersAreRefusedWithAClearText) {
  const QString dir = FreshDir(QStringLiteral("readonly"));
  const QString name = WriteFile(dir + QStringLiteral("/locked.txt"), "keep");
  ASSERT_EQ(::chmod(Native(name).constData(), 0444), 0);
  TSafeSave saver;
  auto outcome = saver.Save(name, "changed");
  EXPECT_FALSE(outcome.Saved());
  EXPECT_EQ(outcome.error, QStringLiteral("Cannot create file ") + name + u'.');
  EXPECT_EQ(outcome.detail, QStringLiteral("The file is read-only."));
  EXPECT_EQ(ReadFile(name), QByteArray("keep"));

  auto missing = saver.Save(dir + QStringLiteral("/no/such/folder.txt"), "x");
  EXPECT_FALSE(missing.Saved());
  EXPECT_TRUE(missing.detail.contains(QStringLiteral("does not exist")));

  // A new file in a folder the user may not write to (permissions enforced for an
  // unprivileged user).
  const QString folder = FreshDir(QStringLiteral("closed"));
  ASSERT_EQ(::chmod(Native(TestEnvironment::Home()).constData(), 0711), 0);
  ASSERT_EQ(::chmod(Native(folder).constData(), 0555), 0);
  const int code = InChild(
      [&] {
        TSafeSave childSaver;
        auto o = childSaver.Save(folder + QStringLiteral("/new.txt"), "changed");
        if (o.Saved()) return 1;
        if (o.detail !=
            QLatin1String("The folder ") + folder + QLatin1String(" cannot be written to."))
          return 2;
        return 0;
      },
      true);
  ::chmod(Native(folder).constData(), 0755);
  ::chmod(Native(TestEnvironment::Home()).constData(), 0700);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(AllFiles(folder), QStringList());
}

TEST(SafeSave, AWritableFileInAFolderThatCannotBeWrittenIsSavedInPlace) {
  const QString folder = FreshDir(QStringLiteral("closed-dir"));
  const QString copies = FreshDir(QStringLiteral("copies"));
  const QString inside = WriteFile(folder + QStringLiteral("/doc.txt"), "previous");
  ASSERT_EQ(::chmod(Native(TestEnvironment::Home()).constData(), 0711), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(Native(inside).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chown(Native(copies).constData(), 65534, 65534), 0);
  }
  ASSERT_EQ(::chmod(Native(folder).constData(), 0555), 0);
  const ino_t inode = StatOf(inside).st_ino;
  // Each child result: 0 when the step did what it should.
  const int plain = InChild(
      [&] {
        TSafeSave saver;
        saver.SetCopyFolder(copies);
        auto o = saver.Save(inside, "first save");
        return o.Saved() && o.backupName.isEmpty() ? 0 : 1;
      },
      true);
  EXPECT_EQ(plain, 0);
  EXPECT_EQ(ReadFile(inside), QByteArray("first save"));
  EXPECT_EQ(StatOf(inside).st_ino, inode);
  EXPECT_EQ(AllFiles(copies), QStringList());  // the verified copy is gone once the save holds

  // With backups on, the copy outside the folder is the backup, and the save says where.
  const int backup = InChild(
      [&] {
        TSafeSave saver;
        saver.SetCopyFolder(copies);
        saver.SetMakeBackup(true);
        auto o = saver.Save(inside, "second save");
        return o.Saved() && o.backupName == copies + QStringLiteral("/doc.txt") ? 0 : 1;
      },
      true);
  EXPECT_EQ(backup, 0);
  EXPECT_EQ(ReadFile(copies + QStringLiteral("/doc.txt")), QByteArray("first save"));

  // A write that fails half-way puts the previous content back.
  const int full = InChild(
      [&] {
        TFullDiskWriter writer(3);
        TSafeSave saver(&writer);
        saver.SetCopyFolder(copies);
        return saver.Save(inside, "this will not fit").detail == QLatin1String("The disk is full.")
                   ? 0
                   : 1;
      },
      true);
  EXPECT_EQ(full, 0);
  EXPECT_EQ(ReadFile(inside), QByteArray("second save"));
  ::chmod(Native(folder).constData(), 0755);
  ::chmod(Native(TestEnvironment::Home()).constData(), 0700);
  EXPECT_EQ(AllFiles(folder), QStringList{QStringLiteral("doc.txt")});
}

TEST(SafeSave, NamesUpToTheLengthLimitAndNamesEndingInABlankSave) {
  const QString dir = FreshDir(QStringLiteral("long"));
  TSafeSave saver;
  saver.SetMakeBackup(true);
  for (int length : {248, 251, 254, 255}) {
    SCOPED_TRACE(length);
    const QString name = dir + u'/' + QString(length - 4, u'n') + QStringLiteral(".txt");
    ASSERT_TRUE(saver.Save(name, "one").Saved());
    auto second = saver.Save(name, "two");
    ASSERT_TRUE(second.Saved()) << second.detail.toStdString();
    EXPECT_EQ(ReadFile(name), QByteArray("two"));
  }
  // Characters of several bytes are never cut in half for the temporary name.
  const QString wide =
      dir + u'/' + QString(84, QChar(0x00E9)) + QStringLiteral(".txt");  // 172 bytes
  const QString wider =
      dir + u'/' + QString(83, QChar(0x20AC)) + QStringLiteral(".txt");  // 253 bytes
  for (const QString &name : {wide, wider}) {
    ASSERT_TRUE(saver.Save(name, "one").Saved());
    ASSERT_TRUE(saver.Save(name, "two").Saved());
    EXPECT_EQ(ReadFile(name), QByteArray("two"));
  }
  const QString blank = dir + QStringLiteral("/ends in a blank.txt ");
  ASSERT_TRUE(saver.Save(blank, "kept").Saved());
  EXPECT_EQ(ReadFile(blank), QByteArray("kept"));
  EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/ends in a blank.txt")));
  EXPECT_EQ(SaveNames::FromPanelText(QStringLiteral(" /home/u/untitled.txt")),
            QStringLiteral("/home/u/untitled.txt"));
  EXPECT_EQ(SaveNames::FromPanelText(blank), blank);
}

TEST(SafeSave, ChangesByAnotherProgramAreNoticedBeforeOverwriting) {
  const QString dir = FreshDir(QStringLiteral("changed"));
  const QString name = dir + QStringLiteral("/doc.txt");
  TSafeSave saver;
  auto saved = saver.Save(name, "mine");
  ASSERT_TRUE(saved.Saved());
  EXPECT_FALSE(saved.stamp.ChangedOnDisk(name));

  // Same content, new time: not a change.
  struct timespec times[2] = {{0, UTIME_OMIT}, {1000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, Native(name).constData(), times, 0), 0);
  EXPECT_FALSE(saved.stamp.ChangedOnDisk(name));
  ASSERT_TRUE(saver.Save(name, "mine, edited", saved.stamp).Saved());

  // Another program writes the same number of bytes: a change.
  const TFileStamp loaded = TFileStamp::Of(name);
  WriteFile(name, "THEIRS, EDITE");
  WriteFile(name, "theirs, edite");
  auto refused = saver.Save(name, "mine again", loaded);
  EXPECT_EQ(refused.status, TSaveStatus::ChangedOnDisk);
  EXPECT_EQ(ReadFile(name), QByteArray("theirs, edite"));
  // The user agreed: save without the check.
  EXPECT_TRUE(saver.Save(name, "mine again").Saved());
  EXPECT_EQ(ReadFile(name), QByteArray("mine again"));

  // A document that was never on disk: a file created meanwhile is a change.
  const QString later = dir + QStringLiteral("/later.txt");
  const TFileStamp none = TFileStamp::Of(later);
  EXPECT_FALSE(none.ChangedOnDisk(later));
  WriteFile(later, "someone else");
  EXPECT_TRUE(none.ChangedOnDisk(later));
}

TEST(SaveEncoding, UnchangedTextIsWrittenBackByteForByte) {
  const QByteArray utf16 = QByteArray(
      "\xFF\xFE"
      "a\0\r\0\n\0b\0",
      10);
  const TDecodedText decoded = TextFile::Decode(utf16, 1000);
  EXPECT_EQ(EncodeForSave(TextFile::JoinBreaks(decoded), decoded.format).bytes, utf16);
}

TEST(DocumentSave, PlainAndRichTextFilesAndAnEncodingThatCannotHoldTheText) {
  const QString dir = FreshDir(QStringLiteral("document"));
  TDocumentSaveRequest request;
  request.fileName = dir + QStringLiteral("/letter.txt");
  request.text = QStringLiteral("Dear \u03a9,\r\nregards");
  request.format.encoding = TTextEncoding::Windows1252;
  request.format.lineEnd = TLineEnd::CrLf;
  auto result = SaveDocument(request);
  ASSERT_TRUE(result.outcome.Saved());
  EXPECT_EQ(ReadFile(request.fileName), QByteArray("Dear \xCE\xA9,\r\nregards"));
  EXPECT_EQ(result.format.encoding, TTextEncoding::Utf8);
  EXPECT_FALSE(result.notice.isEmpty());

  // A failed save reports nothing about the encoding and keeps the format asked for.
  TFullDiskWriter full(0);
  auto failed = SaveDocument(request, &full);
  EXPECT_FALSE(failed.outcome.Saved());
  EXPECT_TRUE(failed.notice.isEmpty());
  EXPECT_EQ(failed.format.encoding, TTextEncoding::Windows1252);

  request.fileName = dir + QStringLiteral("/letter.RTF");
  auto rich = std::make_shared<QTextDocument>();
  QTextCursor cursor(rich.get());
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.insertText(QStringLiteral("Bold \u03a9"), bold);
  request.richText = rich;
  ASSERT_TRUE(SaveDocument(request).outcome.Saved());
  QTextDocument back;
  TRtfReader reader;
  ASSERT_TRUE(reader.Read(ReadFile(request.fileName), back));
  EXPECT_EQ(back.toPlainText(), QStringLiteral("Bold \u03a9"));
  QTextCursor at(&back);
  at.setPosition(1);
  EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
}

TEST(SafeSave, ASaveStoppedBetweenStepsLeavesTheFileAndNoLeftovers) {
  const QString dir = FreshDir(QStringLiteral("stopped"));
  const QString name = WriteFile(dir + QStringLiteral("/doc.txt"), "precious");
  const QString linked = dir + QStringLiteral("/linked.txt");
  ASSERT_EQ(::link(Native(name).constData(), Native(linked).constData()), 0);
  const QByteArray bytes(5 * 1000 * 1000, 'x');
  // Replacing the file (a plain one), and writing in place (a hard-linked one).
  for (const QString &file : {WriteFile(dir + QStringLiteral("/plain.txt"), "precious"), name}) {
    std::vector<std::pair<qint64, qint64>> told;
    TSteppedWriter writer([&](qint64 done, qint64 total) {
      told.emplace_back(done, total);
      return done < 2 * 1000 * 1000;
    });
    TSafeSave saver(&writer);
    EXPECT_FALSE(saver.Save(file, bytes).Saved());
    EXPECT_TRUE(writer.Stopped());
    EXPECT_EQ(ReadFile(file), QByteArray("precious"));
    ASSERT_GE(told.size(), 3u);
    EXPECT_EQ(told.front(), std::make_pair(qint64(0), qint64(bytes.size())));
    EXPECT_EQ(told[1], std::make_pair(qint64(1 << 20), qint64(bytes.size())));
  }
  EXPECT_EQ(ReadFile(linked), QByteArray("precious"));
  EXPECT_EQ(AllFiles(dir), (QStringList{QStringLiteral("doc.txt"), QStringLiteral("linked.txt"),
                                        QStringLiteral("plain.txt")}));

  // Told to go on, it writes everything.
  TSteppedWriter writer([](qint64, qint64) { return true; });
  EXPECT_TRUE(TSafeSave(&writer).Save(name, bytes).Saved());
  EXPECT_FALSE(writer.Stopped());
  EXPECT_TRUE(ReadFile(linked) == bytes);
}
