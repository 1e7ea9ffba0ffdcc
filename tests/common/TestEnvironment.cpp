// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QUuid>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
std::string homeDir;

void removeHome() {
  if (!homeDir.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(homeDir, ignored);
  }
}
}  // namespace

namespace TestEnvironment {

void Install() {
  char pattern[] = "/tmp/vellumix-test-XXXXXX";
  const char *made = mkdtemp(pattern);
  if (!made) std::abort();
  homeDir = made;
  std::atexit(removeHome);
  const std::pair<const char *, const char *> vars[] = {
      {"XDG_CONFIG_HOME", "/.config"},
      {"XDG_DATA_HOME", "/.local/share"},
      {"XDG_CACHE_HOME", "/.cache"},
      {"XDG_RUNTIME_DIR", "/.runtime"},
      // The machine-wide configuration folder too: a test run as root must never write the
      // real /etc/xdg (autostart entries).
      {"XDG_CONFIG_DIRS", "/etc-xdg"},
  };
  setenv("HOME", homeDir.c_str(), 1);
  // The program folder is private too: the build's shipped data is linked into it, so that
  // what the program writes there (a user dictionary) stays with this process. A caller's
  // own choice is kept.
  if (!std::getenv("VELLUMIX_DATA_DIR")) {
    const std::filesystem::path program = homeDir + "/program";
    std::filesystem::create_directories(program);
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(VELLUMIX_TEST_DATA_DIR, error)) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 4 && (name.ends_with(".DIC") || name.ends_with(".dic"))) continue;
      std::filesystem::create_symlink(entry.path(), program / name, error);
    }
    setenv("VELLUMIX_DATA_DIR", program.c_str(), 1);
  }
  setenv("VELLUMIX_SOURCE_DIR", VELLUMIX_TEST_SOURCE_DIR, 0);
  for (const auto &[name, sub] : vars) {
    const std::string path = homeDir + sub;
    std::filesystem::create_directories(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    setenv(name, path.c_str(), 1);
  }
}

QString Home() { return QString::fromStdString(homeDir); }

QString FreshDir(const QString &name) {
  QString path = Home() + QStringLiteral("/") + name + QStringLiteral("-") +
                 QUuid::createUuid().toString(QUuid::Id128).left(8);
  QDir().mkpath(path);
  return path;
}

QString WriteFile(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(bytes);
  return path;
}

QByteArray ReadFile(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

quint32 Seed() {
  static const quint32 seed = [] {
    const quint32 chosen = qEnvironmentVariableIsSet("VELLUMIX_TEST_SEED")
                               ? qEnvironmentVariable("VELLUMIX_TEST_SEED").toUInt()
                               : QRandomGenerator::system()->generate();
    std::printf("random test inputs: seed %u (VELLUMIX_TEST_SEED=%u repeats them)\n", chosen,
                chosen);
    std::fflush(stdout);
    return chosen;
  }();
  return seed;
}

QByteArray RandomBytes(qsizetype size) {
  static QRandomGenerator random(Seed());  // one sequence per run: each call gets new bytes
  QByteArray bytes(size, Qt::Uninitialized);
  for (char &c : bytes) c = static_cast<char>(random.bounded(256));
  return bytes;
}

void Settle(int rounds) {
  for (int i = 0; i < rounds; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
}

}  // namespace TestEnvironment
