// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBrowser>
#include <QWidget>
#include <memory>

#include "platform/help/HelpSource.h"

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;

// The help window: contents, keyword index and full-text search on the left, the topic on
// the right. A help file that cannot be read is reported in the topic area.
class TfrmHelp : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmHelp(std::unique_ptr<THelpSource> source, QWidget *parent = nullptr);
  ~TfrmHelp() override;

  enum TPage { tabContents = 0, tabIndex = 1, tabSearch = 2 };

  void ShowContents();
  void ShowIndex(const QString &keyword = {});
  void ShowSearch(const QString &words = {});
  void ShowHowToUse();
  // The topic of a help context number or an identifier; false when the file has none.
  bool ShowContext(int context);
  bool ShowId(const QString &id);
  void ShowTopic(const QUrl &url);

  QUrl CurrentTopic() const;
  QTextBrowser *Browser() const;
  QListWidget *IndexList() const { return lstIndex_; }
  QListWidget *SearchResults() const { return lstResults_; }
  QLineEdit *IndexWord() const { return edtIndex_; }
  QLineEdit *SearchWords() const { return edtSearch_; }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void Present();
  void FollowModal();
  void Reparent(QWidget *owner);
  void FillContents();
  void FilterIndex(const QString &word);
  void RunSearch();
  void OpenIndexEntry();

  std::unique_ptr<THelpSource> source_;
  QUrl base_;
  QTabWidget *tabs_;
  QTreeWidget *tvContents_;
  QLineEdit *edtIndex_;
  QListWidget *lstIndex_;
  QLineEdit *edtSearch_;
  QListWidget *lstResults_;
  class THelpBrowser *browser_;
  bool filled_ = false;
  bool placed_ = false;
};
