// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "platform/help/HelpSource.h"

class QHelpEngine;

// A help file compiled by Qt's help generator, read through Qt's help engine. The engine's
// collection (with its search index) is kept in the user's cache folder.
class TQtHelpSource : public THelpSource {
 public:
  explicit TQtHelpSource(const QString &helpFile);
  ~TQtHelpSource() override;

  QString Error() const override { return error_; }
  QList<THelpTopic> Contents() override;
  QStringList Keywords() override;
  QList<THelpTopic> ForKeyword(const QString &keyword) const override;
  QList<THelpTopic> ForId(const QString &id) const override;
  QList<THelpTopic> Search(const QString &words) override;
  QByteArray Data(const QUrl &url) const override;

  // The longest the engine is waited for when it builds its contents, index or search index.
  static constexpr int MaxWaitMs = 20000;

 private:
  // Opens the collection and registers the help file in it; false when the collection is at
  // fault (it is then made again).
  bool Open(const QString &collection, const QString &helpFile);
  bool Ready() const { return engine_ && error_.isEmpty(); }

  std::unique_ptr<QHelpEngine> engine_;
  QString error_;
  bool indexed_ = false;
};
