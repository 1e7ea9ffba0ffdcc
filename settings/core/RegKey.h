// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <list>
#include <memory>

// Value types, numbered as the .reg syntax numbers them in "hex(n):".
enum class TRegType : quint32 {
  None = 0,
  String = 1,
  ExpandString = 2,
  Binary = 3,
  DWord = 4,
  MultiString = 7,
  QWord = 11,
};

// One named, typed value. String types keep their text; every other type keeps its raw bytes.
struct TRegValue {
  QString name;
  quint32 type = quint32(TRegType::String);
  QString text;
  QByteArray data;

  bool IsString() const {
    return type == quint32(TRegType::String) || type == quint32(TRegType::ExpandString);
  }
  static TRegValue MakeString(const QString &name, const QString &text);
  static TRegValue MakeDWord(const QString &name, quint32 number);
  bool operator==(const TRegValue &other) const = default;
};

// One key of the tree: named values and subkeys, both kept in the order they were made and
// found by name without regard to case (through an index of case-folded names, so that large
// keys stay fast). A name keeps the letter case it was first given.
class TRegKey {
 public:
  // Longest key and value names, and the deepest path the tree accepts.
  static constexpr int MaxKeyNameLength = 255;
  static constexpr int MaxValueNameLength = 16383;
  static constexpr int MaxDepth = 64;

  explicit TRegKey(const QString &name = QString()) : name_(name) {}
  TRegKey(const TRegKey &) = delete;
  TRegKey &operator=(const TRegKey &) = delete;

  const QString &Name() const { return name_; }

  TRegKey *Child(QStringView name) const;
  // The child of that name, made (appended) when missing.
  TRegKey &MakeChild(const QString &name);
  bool RemoveChild(QStringView name);
  const std::list<std::unique_ptr<TRegKey>> &Children() const { return children_; }

  const TRegValue *Value(QStringView name) const;
  // Replaces the value of the same name (keeping its spelling and place) or appends it.
  void SetValue(const TRegValue &value);
  bool RemoveValue(QStringView name);
  const std::list<TRegValue> &Values() const { return values_; }

  // The key at a path of names below this one; null when any part is missing.
  const TRegKey *Find(const QStringList &path) const;
  TRegKey *Find(const QStringList &path);
  // The key at a path, made where missing.
  TRegKey &Make(const QStringList &path);

  std::unique_ptr<TRegKey> Clone() const;
  bool SameContent(const TRegKey &other) const;

  // Splits a path at backslashes, dropping empty parts ("\A\\B\" is A, B).
  static QStringList SplitPath(QStringView path);
  static bool NameEquals(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
  }

 private:
  using TValueList = std::list<TRegValue>;
  using TChildList = std::list<std::unique_ptr<TRegKey>>;

  QString name_;
  TValueList values_;
  QHash<QString, TValueList::iterator> valueIndex_;
  TChildList children_;
  QHash<QString, TChildList::iterator> childIndex_;
};
