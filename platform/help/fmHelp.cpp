// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/fmHelp.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/core/ProductTexts.h"
#include "platform/ui/PlaceBeside.h"

// A browser that takes its pages and pictures from the help file.
class THelpBrowser : public QTextBrowser {
 public:
  THelpBrowser(THelpSource &source, QWidget *parent) : QTextBrowser(parent), source_(source) {
    setObjectName(QStringLiteral("brwTopic"));
    setOpenExternalLinks(false);
  }

  QVariant loadResource(int type, const QUrl &name) override {
    if (name.scheme() == QLatin1String("qthelp")) return source_.Data(name);
    return QTextBrowser::loadResource(type, name);
  }

 private:
  THelpSource &source_;
};

namespace {

QUrl Stripped(const QUrl &url) { return url.adjusted(QUrl::RemoveFragment); }

}  // namespace

TfrmHelp::TfrmHelp(std::unique_ptr<THelpSource> source, QWidget *parent)
    : QWidget(parent, Qt::Window), source_(std::move(source)) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(ProductTexts::Name() + QStringLiteral(" Help"));
  resize(760, 520);

  tabs_ = new QTabWidget(this);
  tvContents_ = new QTreeWidget(tabs_);
  tvContents_->setObjectName(QStringLiteral("tvContents"));
  tvContents_->setHeaderHidden(true);
  tabs_->addTab(tvContents_, QStringLiteral("Contents"));

  auto *indexPage = new QWidget(tabs_);
  auto *indexLayout = new QVBoxLayout(indexPage);
  edtIndex_ = new QLineEdit(indexPage);
  edtIndex_->setObjectName(QStringLiteral("edtIndex"));
  edtIndex_->setPlaceholderText(QStringLiteral("Type the first letters of a keyword"));
  lstIndex_ = new QListWidget(indexPage);
  lstIndex_->setObjectName(QStringLiteral("lstIndex"));
  indexLayout->addWidget(edtIndex_);
  indexLayout->addWidget(lstIndex_, 1);
  tabs_->addTab(indexPage, QStringLiteral("Index"));

  auto *searchPage = new QWidget(tabs_);
  auto *searchLayout = new QVBoxLayout(searchPage);
  auto *searchLine = new QHBoxLayout;
  edtSearch_ = new QLineEdit(searchPage);
  edtSearch_->setObjectName(QStringLiteral("edtSearch"));
  edtSearch_->setPlaceholderText(QStringLiteral("Words to find"));
  auto *btnSearch = new QPushButton(QStringLiteral("&Search"), searchPage);
  btnSearch->setObjectName(QStringLiteral("btnSearch"));
  searchLine->addWidget(edtSearch_, 1);
  searchLine->addWidget(btnSearch);
  lstResults_ = new QListWidget(searchPage);
  lstResults_->setObjectName(QStringLiteral("lstResults"));
  searchLayout->addLayout(searchLine);
  searchLayout->addWidget(lstResults_, 1);
  tabs_->addTab(searchPage, QStringLiteral("Search"));

  browser_ = new THelpBrowser(*source_, this);
  auto *splitter = new QSplitter(this);
  splitter->addWidget(tabs_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({230, 530});
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);

  connect(tvContents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem *item) { ShowTopic(item->data(0, Qt::UserRole).toUrl()); });
  connect(edtIndex_, &QLineEdit::textEdited, this, &TfrmHelp::FilterIndex);
  connect(edtIndex_, &QLineEdit::returnPressed, this, &TfrmHelp::OpenIndexEntry);
  connect(lstIndex_, &QListWidget::itemActivated, this, &TfrmHelp::OpenIndexEntry);
  connect(btnSearch, &QPushButton::clicked, this, &TfrmHelp::RunSearch);
  connect(edtSearch_, &QLineEdit::returnPressed, this, &TfrmHelp::RunSearch);
  connect(lstResults_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem *item) { ShowTopic(item->data(Qt::UserRole).toUrl()); });

  if (!source_->Error().isEmpty()) {
    browser_->setPlainText(source_->Error());
    tabs_->setEnabled(false);
  }
}

TfrmHelp::~TfrmHelp() = default;

QTextBrowser *TfrmHelp::Browser() const { return browser_; }

QUrl TfrmHelp::CurrentTopic() const { return browser_->source(); }

void TfrmHelp::Present() {
  FillContents();
  if (!placed_) {
    placed_ = true;
    PlaceBeside(this, QApplication::activeWindow());
  }
  FollowModal();
  show();
  raise();
  activateWindow();
}

void TfrmHelp::FollowModal() {
  // A modal dialog blocks every window that is not its own. While one is open the help window
  // is made one of its windows, so it can be read and used beside the dialog.
  QWidget *modal = QApplication::activeModalWidget();
  if (!modal || modal == this || parentWidget() == modal) return;
  Reparent(modal);
  modal->installEventFilter(this);
}

void TfrmHelp::Reparent(QWidget *owner) {
  const QRect frame = geometry();
  const bool shown = isVisible();
  setParent(owner, Qt::Window);
  setGeometry(frame);
  if (shown) show();
}

bool TfrmHelp::eventFilter(QObject *watched, QEvent *event) {
  // The dialog goes: the help window stays, on its own again (before the dialog is deleted,
  // which would take its windows with it), or under a dialog that is still open.
  if (watched == parentWidget() &&
      (event->type() == QEvent::Hide || event->type() == QEvent::Close)) {
    watched->removeEventFilter(this);
    Reparent(nullptr);
    QTimer::singleShot(0, this, [this] {
      if (isVisible()) FollowModal();
    });
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmHelp::FillContents() {
  if (filled_ || !source_->Error().isEmpty()) return;
  filled_ = true;
  QList<QTreeWidgetItem *> parents;
  for (const THelpTopic &topic : source_->Contents()) {
    parents.resize(std::min<qsizetype>(topic.depth, parents.size()));
    auto *item =
        parents.isEmpty() ? new QTreeWidgetItem(tvContents_) : new QTreeWidgetItem(parents.last());
    item->setText(0, topic.title);
    item->setData(0, Qt::UserRole, topic.url);
    parents.append(item);
    if (!base_.isValid()) base_ = topic.url;
  }
  tvContents_->expandToDepth(0);
  const QStringList keywords = source_->Keywords();
  lstIndex_->addItems(keywords);
}

void TfrmHelp::ShowContents() {
  Present();
  tabs_->setCurrentIndex(tabContents);
  if (base_.isValid()) ShowTopic(base_);
}

void TfrmHelp::ShowIndex(const QString &keyword) {
  Present();
  tabs_->setCurrentIndex(tabIndex);
  edtIndex_->setText(keyword);
  FilterIndex(keyword);
  edtIndex_->setFocus();
}

void TfrmHelp::ShowSearch(const QString &words) {
  Present();
  tabs_->setCurrentIndex(tabSearch);
  edtSearch_->setText(words);
  if (!words.isEmpty()) RunSearch();
  edtSearch_->setFocus();
}

void TfrmHelp::ShowHowToUse() {
  Present();
  ShowId(QStringLiteral("page-viewer"));
}

bool TfrmHelp::ShowContext(int context) { return ShowId(HelpContextId(context)); }

bool TfrmHelp::ShowId(const QString &id) {
  Present();
  const QList<THelpTopic> topics = source_->ForId(id);
  if (topics.isEmpty()) return false;
  ShowTopic(topics.first().url);
  return true;
}

void TfrmHelp::ShowTopic(const QUrl &url) {
  if (!url.isValid()) return;
  browser_->setSource(url);
  if (!url.fragment().isEmpty()) {
    browser_->scrollToAnchor(url.fragment());
    // A window shown a moment ago is laid out only when the events run: scroll again then.
    QTimer::singleShot(0, browser_,
                       [this, fragment = url.fragment()] { browser_->scrollToAnchor(fragment); });
  }
  // Keep the contents in step with the page shown.
  for (QTreeWidgetItemIterator it(tvContents_); *it; ++it)
    if (Stripped((*it)->data(0, Qt::UserRole).toUrl()) == Stripped(url) &&
        (*it)->data(0, Qt::UserRole).toUrl().fragment() == url.fragment()) {
      tvContents_->setCurrentItem(*it);
      break;
    }
}

void TfrmHelp::FilterIndex(const QString &word) {
  QListWidgetItem *first = nullptr;
  for (int row = 0; row < lstIndex_->count(); ++row) {
    QListWidgetItem *item = lstIndex_->item(row);
    const bool match = item->text().startsWith(word, Qt::CaseInsensitive);
    if (match && !first) first = item;
  }
  if (first) {
    lstIndex_->setCurrentItem(first);
    lstIndex_->scrollToItem(first, QAbstractItemView::PositionAtTop);
  }
}

void TfrmHelp::OpenIndexEntry() {
  QListWidgetItem *item = lstIndex_->currentItem();
  if (!item) return;
  const QList<THelpTopic> topics = source_->ForKeyword(item->text());
  if (!topics.isEmpty()) ShowTopic(topics.first().url);
}

void TfrmHelp::RunSearch() {
  lstResults_->clear();
  const QList<THelpTopic> topics = source_->Search(edtSearch_->text());
  for (const THelpTopic &topic : topics) {
    auto *item = new QListWidgetItem(topic.title, lstResults_);
    item->setData(Qt::UserRole, topic.url);
  }
  if (topics.isEmpty() && source_->Error().isEmpty())
    lstResults_->addItem(QStringLiteral("No topic contains these words."));
  if (!topics.isEmpty()) ShowTopic(topics.first().url);
}
