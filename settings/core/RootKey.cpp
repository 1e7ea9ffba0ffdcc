// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/RootKey.h"

#include <QScopeGuard>

#include "settings/core/SettingsError.h"

namespace {

// The handle taken for a root key that failed to open goes back; the first failure is the
// one the caller reports, so a second one is only logged.
void releaseAfterFailure(TSettingsStore &store) noexcept {
  try {
    store.ReleaseHandle();
  } catch (const std::exception &error) {
    qWarning("Closing the settings after a failure: %s", error.what());
  }
}

}  // namespace

TRootKey::TRootKey(const QString &rootPath, TSettingsStore &store)
    : store_(store), rootPath_(TRegKey::SplitPath(rootPath)) {
  store_.AddHandle();
  auto release = qScopeGuard([this] {  // the failure goes on to the caller
    open_ = false;
    releaseAfterFailure(store_);
  });
  store_.CreateKey(rootPath_);
  release.dismiss();
}

TRootKey::~TRootKey() {
  try {
    Close();
  } catch (const ESettingsError &error) {
    // The changes stay pending in the store and go out with its next close.
    qWarning("Closing the settings: %s", error.what());
  }
}

void TRootKey::Close() {
  if (!open_) return;
  open_ = false;
  store_.ReleaseHandle();
}

QStringList TRootKey::SectionPath(const QString &section) const {
  if (section.startsWith(u'\\')) return TRegKey::SplitPath(section);
  return rootPath_ + TRegKey::SplitPath(section);
}

const TRegValue *TRootKey::FindValue(const QString &section, const QString &name) const {
  const TRegKey *key = store_.Find(SectionPath(section));
  const TRegValue *value = key ? key->Value(name) : nullptr;
  if (value && !value->IsString()) throw ESettingsError::InvalidDataType(name);
  return value;
}

QString TRootKey::ReadString(const QString &section, const QString &name,
                             const QString &def) const {
  const TRegValue *value = FindValue(section, name);
  return value ? value->text : def;
}

int TRootKey::ReadInteger(const QString &section, const QString &name, int def) const {
  const TRegValue *value = FindValue(section, name);
  if (!value) return def;
  bool ok = false;
  const int number = value->text.trimmed().toInt(&ok, 10);
  return ok ? number : def;
}

void TRootKey::WriteString(const QString &section, const QString &name, const QString &value) {
  store_.SetValue(SectionPath(section), TRegValue::MakeString(name, value));
}

void TRootKey::WriteInteger(const QString &section, const QString &name, int value) {
  WriteString(section, name, QString::number(value));
}

void TRootKey::WriteBool(const QString &section, const QString &name, bool value) {
  WriteString(section, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TRootKey::EraseSection(const QString &section) {
  const QStringList path = SectionPath(section);
  if (path.size() > rootPath_.size() || section.startsWith(u'\\')) store_.DeleteKey(path);
}

void TRootKey::DeleteValue(const QString &section, const QString &name) {
  store_.DeleteValue(SectionPath(section), name);
}

bool TRootKey::SectionExists(const QString &section) const {
  return store_.Find(SectionPath(section)) != nullptr;
}

bool TRootKey::ValueExists(const QString &section, const QString &name) const {
  const TRegKey *key = store_.Find(SectionPath(section));
  return key && key->Value(name);
}

QStringList TRootKey::ValueNames(const QString &section) const {
  QStringList names;
  if (const TRegKey *key = store_.Find(SectionPath(section)))
    for (const TRegValue &value : key->Values()) names.append(value.name);
  return names;
}

QStringList TRootKey::SectionNames(const QString &section) const {
  QStringList names;
  if (const TRegKey *key = store_.Find(SectionPath(section)))
    for (const auto &child : key->Children()) names.append(child->Name());
  return names;
}

void WriteEditSetting(const QString &name, const QString &text, TSettingsStore &store) {
  TRootKey root(VellumixRootKey, store);
  root.WriteString(QStringLiteral("Edit Form"), name, text);
  root.Close();
}
