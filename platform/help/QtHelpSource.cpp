// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/QtHelpSource.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QStandardPaths>
#include <QTimer>

#include "platform/core/Folders.h"

namespace {

// Runs start and waits, events flowing, until signal fires or the bound passes.
template <typename TSender, typename TSignal>
bool WaitFor(TSender *sender, TSignal signal, const std::function<void()> &start) {
  QEventLoop loop;
  bool fired = false;
  QObject::connect(sender, signal, &loop, [&] {
    fired = true;
    loop.quit();
  });
  QTimer::singleShot(TQtHelpSource::MaxWaitMs, &loop, &QEventLoop::quit);
  start();
  if (!fired) loop.exec();
  return fired;
}

QList<THelpTopic> Topics(const QList<QHelpLink> &links) {
  QList<THelpTopic> topics;
  for (const QHelpLink &link : links) topics.append({link.title, link.url});
  return topics;
}

void AddItems(QHelpContentItem *item, int depth, QList<THelpTopic> &topics) {
  if (!item) return;
  topics.append({item->title(), item->url(), depth});
  for (int i = 0; i < item->childCount(); ++i) AddItems(item->child(i), depth + 1, topics);
}

}  // namespace

TQtHelpSource::TQtHelpSource(const QString &helpFile) {
  if (!QFileInfo(helpFile).isReadable()) {
    error_ = QStringLiteral("The help file %1 cannot be read.").arg(helpFile);
    return;
  }
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                        QStringLiteral("/vellumix");
  QDir().mkpath(cache);
  const QString collection = cache + QStringLiteral("/help.qhc");
  if (Open(collection, helpFile)) return;
  // The collection is only a cache of the shipped help file: one that cannot be used (damaged,
  // cut short, written by another version) is made again from the help file.
  engine_.reset();
  QFile::remove(collection);
  error_.clear();
  Open(collection, helpFile);
}

bool TQtHelpSource::Open(const QString &collection, const QString &helpFile) {
  engine_ = std::make_unique<QHelpEngine>(collection);
  engine_->setReadOnly(false);
  if (!engine_->setupData()) {
    error_ = engine_->error();
    return false;
  }
  // A file of another build may be registered under the same namespace: register this one.
  const QString space = QHelpEngineCore::namespaceName(helpFile);
  if (space.isEmpty()) {
    error_ = QStringLiteral("%1 is not a help file.").arg(helpFile);
    return true;  // the cache is not at fault
  }
  if (engine_->documentationFileName(space) != QFileInfo(helpFile).absoluteFilePath()) {
    engine_->unregisterDocumentation(space);
    if (!engine_->registerDocumentation(helpFile)) {
      error_ = engine_->error();
      return false;
    }
    indexed_ = false;
  }
  return true;
}

TQtHelpSource::~TQtHelpSource() = default;

QList<THelpTopic> TQtHelpSource::Contents() {
  if (!Ready()) return {};
  QHelpContentModel *model = engine_->contentModel();
  if (model->rowCount() == 0)
    WaitFor(model, &QHelpContentModel::contentsCreated, [&] { model->createContents({}); });
  QList<THelpTopic> topics;
  for (int row = 0; row < model->rowCount(); ++row)
    AddItems(model->contentItemAt(model->index(row, 0)), 0, topics);
  return topics;
}

QStringList TQtHelpSource::Keywords() {
  if (!Ready()) return {};
  QHelpIndexModel *model = engine_->indexModel();
  if (model->rowCount() == 0)
    WaitFor(model, &QHelpIndexModel::indexCreated, [&] { model->createIndex({}); });
  return model->stringList();
}

QList<THelpTopic> TQtHelpSource::ForKeyword(const QString &keyword) const {
  return Ready() ? Topics(engine_->documentsForKeyword(keyword)) : QList<THelpTopic>();
}

QList<THelpTopic> TQtHelpSource::ForId(const QString &id) const {
  return Ready() ? Topics(engine_->documentsForIdentifier(id)) : QList<THelpTopic>();
}

QList<THelpTopic> TQtHelpSource::Search(const QString &words) {
  if (!Ready() || words.trimmed().isEmpty()) return {};
  QHelpSearchEngine *search = engine_->searchEngine();
  if (!indexed_)
    indexed_ = WaitFor(search, &QHelpSearchEngine::indexingFinished,
                       [&] { search->reindexDocumentation(); });
  if (!WaitFor(search, &QHelpSearchEngine::searchingFinished, [&] { search->search(words); }))
    return {};
  QList<THelpTopic> topics;
  for (const QHelpSearchResult &result : search->searchResults(0, search->searchResultCount()))
    topics.append({result.title(), result.url()});
  return topics;
}

QByteArray TQtHelpSource::Data(const QUrl &url) const {
  return Ready() ? engine_->fileData(url) : QByteArray();
}
