// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// One topic of the help file: its title and address.
struct THelpTopic {
  QString title;
  QUrl url;
  int depth = 0;  // in the contents: 0 for a chapter, 1 for its sections...
};

// What the help window reads from a help file: the contents, the keyword index, topics by
// identifier (a command's name, a window's name, "context-<number>"), full-text search and
// the pages themselves.
class THelpSource {
 public:
  virtual ~THelpSource() = default;

  // Empty when the help file was read; else what went wrong.
  virtual QString Error() const = 0;
  virtual QList<THelpTopic> Contents() = 0;
  virtual QStringList Keywords() = 0;
  virtual QList<THelpTopic> ForKeyword(const QString &keyword) const = 0;
  virtual QList<THelpTopic> ForId(const QString &id) const = 0;
  // Topics containing all the words.
  virtual QList<THelpTopic> Search(const QString &words) = 0;
  virtual QByteArray Data(const QUrl &url) const = 0;
};

// The identifier of a help context number.
inline QString HelpContextId(int context) { return QStringLiteral("context-%1").arg(context); }
