// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/core/RegKey.h"

#include <QtEndian>

namespace {
QString Fold(QStringView name) { return name.toString().toCaseFolded(); }
}  // namespace

TRegValue TRegValue::MakeString(const QString &name, const QString &text) {
  TRegValue value;
  value.name = name;
  value.type = quint32(TRegType::String);
  value.text = text;
  return value;
}

TRegValue TRegValue::MakeDWord(const QString &name, quint32 number) {
  TRegValue value;
  value.name = name;
  value.type = quint32(TRegType::DWord);
  value.data.resize(4);
  qToLittleEndian(number, value.data.data());
  return value;
}

TRegKey *TRegKey::Child(QStringView name) const {
  const auto found = childIndex_.constFind(Fold(name));
  return found == childIndex_.constEnd() ? nullptr : found.value()->get();
}

TRegKey &TRegKey::MakeChild(const QString &name) {
  if (TRegKey *existing = Child(name)) return *existing;
  children_.push_back(std::make_unique<TRegKey>(name));
  childIndex_.insert(Fold(name), std::prev(children_.end()));
  return *children_.back();
}

bool TRegKey::RemoveChild(QStringView name) {
  const auto found = childIndex_.find(Fold(name));
  if (found == childIndex_.end()) return false;
  children_.erase(found.value());
  childIndex_.erase(found);
  return true;
}

const TRegValue *TRegKey::Value(QStringView name) const {
  const auto found = valueIndex_.constFind(Fold(name));
  return found == valueIndex_.constEnd() ? nullptr : &*found.value();
}

void TRegKey::SetValue(const TRegValue &value) {
  const QString folded = Fold(value.name);
  const auto found = valueIndex_.constFind(folded);
  if (found != valueIndex_.constEnd()) {
    TRegValue &existing = *found.value();
    const QString keptName = existing.name;
    existing = value;
    existing.name = keptName;
    return;
  }
  values_.push_back(value);
  valueIndex_.insert(folded, std::prev(values_.end()));
}

bool TRegKey::RemoveValue(QStringView name) {
  const auto found = valueIndex_.find(Fold(name));
  if (found == valueIndex_.end()) return false;
  values_.erase(found.value());
  valueIndex_.erase(found);
  return true;
}

const TRegKey *TRegKey::Find(const QStringList &path) const {
  const TRegKey *key = this;
  for (const QString &part : path) {
    key = key->Child(part);
    if (!key) return nullptr;
  }
  return key;
}

TRegKey *TRegKey::Find(const QStringList &path) {
  return const_cast<TRegKey *>(std::as_const(*this).Find(path));
}

TRegKey &TRegKey::Make(const QStringList &path) {
  TRegKey *key = this;
  for (const QString &part : path) key = &key->MakeChild(part);
  return *key;
}

std::unique_ptr<TRegKey> TRegKey::Clone() const {
  auto copy = std::make_unique<TRegKey>(name_);
  for (const TRegValue &value : values_) copy->SetValue(value);
  for (const auto &child : children_) {
    copy->children_.push_back(child->Clone());
    copy->childIndex_.insert(Fold(child->name_), std::prev(copy->children_.end()));
  }
  return copy;
}

bool TRegKey::SameContent(const TRegKey &other) const {
  if (name_ != other.name_ || values_ != other.values_ ||
      children_.size() != other.children_.size())
    return false;
  for (auto mine = children_.begin(), theirs = other.children_.begin(); mine != children_.end();
       ++mine, ++theirs)
    if (!(*mine)->SameContent(**theirs)) return false;
  return true;
}

QStringList TRegKey::SplitPath(QStringView path) {
  QStringList parts;
  for (QStringView part : path.split(u'\\', Qt::SkipEmptyParts)) parts.append(part.toString());
  return parts;
}
