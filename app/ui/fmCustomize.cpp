// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/fmCustomize.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// An item names its button; the name, unlike a pointer, survives a drag between the lists.
constexpr int kActionRole = Qt::UserRole + 1;

// A list that takes button items dragged from the other list as well as moves within itself,
// and tells when its items changed by a drop.
class TButtonList : public QListWidget {
 public:
  explicit TButtonList(std::function<void()> changed, QWidget *parent)
      : QListWidget(parent), changed_(std::move(changed)) {
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
  }

 protected:
  void dropEvent(QDropEvent *event) override {
    QListWidget::dropEvent(event);
    changed_();
  }

 private:
  std::function<void()> changed_;
};

}  // namespace

TfrmCustomize::TfrmCustomize(QToolBar *bar, const QList<QAction *> &buttons, QWidget *parent)
    : QDialog(parent), bar_(bar), buttons_(buttons), original_(bar->actions()) {
  setObjectName(QStringLiteral("frmCustomize"));
  setWindowTitle(QStringLiteral("Customize Tool Bar"));
  cbxSection_ = new QComboBox(this);
  cbxSection_->setObjectName(QStringLiteral("cbxSection"));
  QStringList sections;
  for (QAction *b : buttons_) {
    const QString section = b->property("section").toString();
    if (!sections.contains(section)) sections << section;
  }
  cbxSection_->addItems(sections);

  auto sync = [this] {
    QMetaObject::invokeMethod(
        this,
        [this] {
          applyToBar();
          fillAvailable();
        },
        Qt::QueuedConnection);
  };
  lstAvailable_ = new TButtonList(sync, this);
  lstAvailable_->setObjectName(QStringLiteral("lstAvailable"));
  lstButtons_ = new TButtonList(sync, this);
  lstButtons_->setObjectName(QStringLiteral("lstButtons"));

  auto *add = new QPushButton(QStringLiteral("&Add ->"), this);
  auto *remove = new QPushButton(QStringLiteral("<- &Remove"), this);
  auto *up = new QPushButton(QStringLiteral("Move &Up"), this);
  auto *down = new QPushButton(QStringLiteral("Move &Down"), this);
  auto *reset = new QPushButton(QStringLiteral("R&eset"), this);
  connect(add, &QPushButton::clicked, this, &TfrmCustomize::AddSelected);
  connect(remove, &QPushButton::clicked, this, &TfrmCustomize::RemoveSelected);
  connect(up, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveSelected(1); });
  connect(reset, &QPushButton::clicked, this, &TfrmCustomize::ResetBar);
  connect(lstAvailable_, &QListWidget::itemActivated, this, &TfrmCustomize::AddSelected);
  connect(lstButtons_, &QListWidget::itemActivated, this, &TfrmCustomize::RemoveSelected);
  connect(cbxSection_, &QComboBox::currentIndexChanged, this, &TfrmCustomize::fillAvailable);

  auto *middle = new QVBoxLayout;
  middle->addStretch();
  for (QPushButton *b : {add, remove, up, down, reset}) middle->addWidget(b);
  middle->addStretch();
  auto *close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::accept);

  auto *grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("&Section:"), this), 0, 0);
  grid->addWidget(cbxSection_, 1, 0);
  auto *availableLabel = new QLabel(QStringLiteral("A&vailable buttons:"), this);
  availableLabel->setBuddy(lstAvailable_);
  grid->addWidget(availableLabel, 2, 0);
  grid->addWidget(lstAvailable_, 3, 0);
  grid->addLayout(middle, 3, 1);
  auto *barLabel = new QLabel(QStringLiteral("&Tool bar buttons:"), this);
  barLabel->setBuddy(lstButtons_);
  grid->addWidget(barLabel, 2, 2);
  grid->addWidget(lstButtons_, 3, 2);
  grid->addWidget(close, 4, 0, 1, 3);
  static_cast<QLabel *>(grid->itemAtPosition(0, 0)->widget())->setBuddy(cbxSection_);
  resize(520, 380);
  fillButtons();
  fillAvailable();
}

QAction *TfrmCustomize::actionOf(const QListWidgetItem *item) const {
  if (!item) return nullptr;
  const QString name = item->data(kActionRole).toString();
  for (QAction *button : buttons_ + original_)
    if (button->objectName() == name) return button;
  return nullptr;
}

QListWidgetItem *TfrmCustomize::itemFor(QAction *button) const {
  auto *item = new QListWidgetItem(button->icon(), button->text());
  item->setData(kActionRole, button->objectName());
  item->setToolTip(button->toolTip());
  return item;
}

void TfrmCustomize::fillButtons() {
  lstButtons_->clear();
  for (QAction *a : bar_->actions()) lstButtons_->addItem(itemFor(a));
}

void TfrmCustomize::fillAvailable() {
  lstAvailable_->clear();
  const QString section = cbxSection_->currentText();
  const QList<QAction *> onBar = bar_->actions();
  for (QAction *b : buttons_)
    if (b->property("section").toString() == section && !onBar.contains(b))
      lstAvailable_->addItem(itemFor(b));
}

void TfrmCustomize::applyToBar() {
  QList<QAction *> order;
  for (int i = 0; i < lstButtons_->count(); ++i)
    if (QAction *a = actionOf(lstButtons_->item(i)); a && !order.contains(a)) order << a;
  const bool flat = [&] {
    for (QAction *a : bar_->actions())
      if (auto *b = qobject_cast<QToolButton *>(bar_->widgetForAction(a))) return b->autoRaise();
    return true;
  }();
  bar_->clear();
  for (QAction *a : order) {
    bar_->addAction(a);
    if (auto *b = qobject_cast<QToolButton *>(bar_->widgetForAction(a))) {
      b->setFixedSize(24, 23);
      b->setAutoRaise(flat);
    }
  }
  fillButtons();
}

void TfrmCustomize::AddSelected() {
  QListWidgetItem *item = lstAvailable_->currentItem();
  if (!item) return;
  const int at =
      lstButtons_->currentRow() >= 0 ? lstButtons_->currentRow() + 1 : lstButtons_->count();
  lstButtons_->insertItem(at, itemFor(actionOf(item)));
  applyToBar();
  lstButtons_->setCurrentRow(at);
  fillAvailable();
}

void TfrmCustomize::RemoveSelected() {
  const int row = lstButtons_->currentRow();
  if (row < 0) return;
  delete lstButtons_->takeItem(row);
  applyToBar();
  lstButtons_->setCurrentRow(std::min(row, lstButtons_->count() - 1));
  fillAvailable();
}

void TfrmCustomize::MoveSelected(int step) {
  const int row = lstButtons_->currentRow();
  const int to = row + step;
  if (row < 0 || to < 0 || to >= lstButtons_->count()) return;
  lstButtons_->insertItem(to, lstButtons_->takeItem(row));
  applyToBar();
  lstButtons_->setCurrentRow(to);
}

void TfrmCustomize::ResetBar() {
  lstButtons_->clear();
  for (QAction *a : original_) lstButtons_->addItem(itemFor(a));
  applyToBar();
  fillAvailable();
}
