#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

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
      {"XDG_CONFIG_HOME", "/.config"}, {"XDG_DATA_HOME", "/.local/share"},
      {"XDG_CACHE_HOME", "/.cache"},   {"XDG_RUNTIME_DIR", "/.runtime"},
  };
  setenv("HOME", homeDir.c_str(), 1);
  // The build's shipped data and the sources, unless the caller chose others.
  setenv("VELLUMIX_DATA_DIR", VELLUMIX_TEST_DATA_DIR, 0);
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
  const QString path = Home() + QStringLiteral("/") + name + QStringLiteral("-") +
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

}  // namespace TestEnvironment
