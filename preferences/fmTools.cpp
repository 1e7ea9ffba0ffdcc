// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/fmTools.h"

#include <QAction>
#include <QActionGroup>
#include <QDateTime>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "documents/ui/EditHost.h"
#include "platform/core/Folders.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/Glyphs.h"
#include "preferences/DatePage.h"
#include "preferences/DisplayPage.h"
#include "preferences/FavoritesPage.h"
#include "preferences/FiltersPage.h"
#include "preferences/Hints.h"
#include "preferences/MailFields.h"
#include "preferences/SpellPage.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/FormTables.h"
#include "settings/ui/Holder.h"
#include "settings/ui/ToolBarLayout.h"

namespace {

struct TPageItem {
  const char *item, *caption, *hint;
  int tag;
};
// The page items in menu order; the pages follow in tab order (date, display, favourites,
// network, filters, spelling), which is this order too.
const TPageItem pageItems[] = {
    {"mniOptions1", "Date - &Time", "Change date and time preferences", 1},
    {"mniOptions5", "&Display", "Change display preferences", 5},
    {"mniOptions2", "F&avorite Files", "Change your favorite files list", 2},
    {"mniOptions3", "&Network", "Change network options", 3},
    {"mniOptions0", "Open/Save &Filters", "Change open and save filters", 0},
    {"mniOptions4", "S&pell Checker", "Change spell checker options", 4},
};

void SetFlat(QToolBar *bar, bool flat) {
  ToolBarLayout::OptionsAccessor(bar)->SetText(flat ? QStringLiteral("[sbFlatBtns]")
                                                    : QStringLiteral("[]"));
}

}  // namespace

TfrmTools::TfrmTools(const TPreferencesContext &context, QWidget *parent)
    : QDialog(parent), context_(context) {
  setObjectName(QStringLiteral("frmTools"));
  setWindowTitle(QStringLiteral("Preferences..."));
  setWindowFlags(
      (windowFlags() | Qt::WindowContextHelpButtonHint | Qt::MSWindowsFixedSizeDialogHint) &
      ~Qt::WindowMaximizeButtonHint);
  setModal(true);
  createMenus();
  createToolBar();
  createPages();
  barStatus = new QStatusBar(this);
  barStatus->setObjectName(QStringLiteral("barStatus"));
  barStatus->setSizeGripEnabled(false);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(mnuMain);
  layout->addWidget(barTools);
  layout->addWidget(pagPrefer, 1);
  layout->addWidget(barStatus);
  resize(600, 440);

  strPreferences = new TFormStorage(this);
  strPreferences->IniSection = QStringLiteral("Preferences");
  strPreferences->SetStoredProps(FormTables::PreferencesProps(), FormTables::PreferencesDefaults());
}

TfrmTools::~TfrmTools() { strPreferences->FormDestroying(); }

void TfrmTools::Run(const TPreferencesContext &context, QWidget *parent) {
  const TTopMostPause pause(context.host);
  TfrmTools dialog(context, parent);
  dialog.exec();
}

QAction *TfrmTools::Item(const QString &name) const { return findChild<QAction *>(name); }

void TfrmTools::createMenus() {
  const TGlyphList &glyphs = TGlyphList::Shared();
  mnuMain = new QMenuBar(this);
  mnuMain->setObjectName(QStringLiteral("mnuMain"));
  QMenu *menu = mnuMain->addMenu(QStringLiteral("&Preferences"));
  pages_ = new QActionGroup(this);
  for (const TPageItem &page : pageItems) {
    QAction *item = menu->addAction(QString::fromLatin1(page.caption));
    item->setObjectName(QString::fromLatin1(page.item));
    item->setCheckable(true);
    item->setProperty("Tag", page.tag);
    Hints::Set(item, QString::fromLatin1(page.hint));
    pages_->addAction(item);
    connect(item, &QAction::triggered, this, [this, tag = page.tag] { UpdateOptionsMenu(tag); });
  }
  Item(QStringLiteral("mniOptions1"))->setChecked(true);
  menu->addSeparator();
  QAction *cancel = menu->addAction(glyphs.Icon(gCancel), QStringLiteral("&Cancel"));
  cancel->setObjectName(QStringLiteral("mniCancel"));
  Hints::Set(cancel, QStringLiteral("Cancel preferences"));
  QAction *save = menu->addAction(glyphs.Icon(gSave), QStringLiteral("&Save"));
  save->setObjectName(QStringLiteral("mniSave"));
  Hints::Set(save, QStringLiteral("Save preferences"));
  connect(cancel, &QAction::triggered, this, [this] { UpdateFileMenu(0); });
  connect(save, &QAction::triggered, this, [this] { UpdateFileMenu(1); });
}

void TfrmTools::createToolBar() {
  const TGlyphList &glyphs = TGlyphList::Shared();
  barTools = new QToolBar(this);
  barTools->setObjectName(QStringLiteral("barTools"));
  barTools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  barTools->setContextMenuPolicy(Qt::CustomContextMenu);
  QAction *cancel = barTools->addAction(glyphs.Icon(gCancel), QStringLiteral("Cancel Preferences"));
  cancel->setObjectName(QStringLiteral("btnCancel"));
  Hints::Set(cancel, QStringLiteral("Cancel preferences"));
  QAction *save = barTools->addAction(glyphs.Icon(gSave), QStringLiteral("Save Preferences"));
  save->setObjectName(QStringLiteral("btnClose"));
  Hints::Set(save, QStringLiteral("Save preferences"));
  connect(cancel, &QAction::triggered, this, [this] { UpdateFileMenu(0); });
  connect(save, &QAction::triggered, this, [this] { UpdateFileMenu(1); });
  // The style menu of both the dialog's bars (the favourites page adds its own).
  pumToolBar = new TBarStyleMenu(
      barTools,
      {QStringLiteral("I&Explorer Style"), QStringLiteral("Display tool bar with flat buttons"),
       QStringLiteral("S&tandard Style"), QStringLiteral("Display tool bar with raised buttons")});
  connect(pumToolBar, &TBarStyleMenu::StyleChosen, this, &TfrmTools::UpdateMenus);
  SetFlat(barTools, true);
}

void TfrmTools::createPages() {
  pagPrefer = new QTabWidget(this);
  pagPrefer->setObjectName(QStringLiteral("pagPrefer"));
  date = new TDatePage(context_.Holder("lblDate"), context_.Holder("lblTime"), pagPrefer);
  display = new TDisplayPage(context_, active_, pagPrefer);
  favorites = new TFavoritesPage(
      [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open"),
                                            context_.Holder("FilePath").Caption());
      },
      pagPrefer);
  auto *networkPage = new QWidget(pagPrefer);
  networkPage->setObjectName(QStringLiteral("tabNetwork"));
  network = new TMailFields(context_.main, networkPage);
  (new QVBoxLayout(networkPage))->addWidget(network);
  filters = new TFiltersPage(pagPrefer);
  spell = new TSpellPage(context_.spell, pagPrefer);

  const std::pair<QWidget *, const char *> pages[] = {
      {date, "Date && Time"},   {display, "Display"},           {favorites, "Favorite Files"},
      {networkPage, "Network"}, {filters, "Open/Save Filters"}, {spell, "Spell Checker"}};
  int i = 0;
  for (const auto &[page, caption] : pages) {
    page->setProperty("Tag", pageItems[i++].tag);
    pagPrefer->addTab(page, QString::fromLatin1(caption));
  }
  pagPrefer->setCurrentWidget(display);

  if (auto *bar = favorites->findChild<QToolBar *>(QStringLiteral("barFavorite"))) {
    pumToolBar->AddBar(bar);
    SetFlat(bar, true);
  }
  connect(pagPrefer, &QTabWidget::currentChanged, this, [this] { pagPreferChange(); });
  connect(network, &TMailFields::TextExit, this, [this] { TextExit(); });
}

QWidget *TfrmTools::pageOfTag(int tag) const {
  for (int i = 0; i < pagPrefer->count(); ++i)
    if (pagPrefer->widget(i)->property("Tag").toInt() == tag) return pagPrefer->widget(i);
  return nullptr;
}

QString TfrmTools::openFilter() const {
  const QObject *dlgOpen =
      context_.main.findChild<QObject *>(QStringLiteral("dlgOpen"), Qt::FindDirectChildrenOnly);
  return dlgOpen ? dlgOpen->property("Filter").toString() : QString();
}

bool TfrmTools::event(QEvent *event) {
  // The long part of the hint under the pointer goes to the status line.
  if (event->type() == QEvent::StatusTip) {
    barStatus->showMessage(static_cast<QStatusTipEvent *>(event)->tip());
    return true;
  }
  return QDialog::event(event);
}

void TfrmTools::showEvent(QShowEvent *event) {
  // The storage has restored the section before this runs.
  QDialog::showEvent(event);
  FormShow();
  active_ = true;
}

void TfrmTools::hideEvent(QHideEvent *event) {
  active_ = false;
  QDialog::hideEvent(event);
}

void TfrmTools::FormShow() {
  display->FormShow();
  date->Fill(QDateTime::currentDateTime());
  filters->Fill(openFilter(), context_.Holder("lblFilter").Caption().toInt());
  network->Load();
  spell->FormShow(Folders::ProgramFolder());
  favorites->SetFavorites(context_.favorites());
}

void TfrmTools::UpdateOptionsMenu(int tag) {
  if (QAction *item = Item(QStringLiteral("mniOptions%1").arg(tag))) item->setChecked(true);
  if (QWidget *page = pageOfTag(tag)) pagPrefer->setCurrentWidget(page);
}

void TfrmTools::pagPreferChange() {
  const int tag = pagPrefer->currentWidget()->property("Tag").toInt();
  if (QAction *item = Item(QStringLiteral("mniOptions%1").arg(tag))) item->setChecked(true);
  if (pagPrefer->currentWidget() == filters) filters->EnableRows(true);
}

void TfrmTools::UpdateMenus(int tag) {
  const bool flat = tag == 0;
  pumToolBar->ItemOfTag(tag)->setChecked(true);
  SetFlat(barTools, flat);
  if (auto *bar = favorites->findChild<QToolBar *>(QStringLiteral("barFavorite")))
    SetFlat(bar, flat);
  display->SetFlat(flat);
}

void TfrmTools::TextExit() {
  for (QLineEdit *box : findChildren<QLineEdit *>()) box->setCursorPosition(0);
}

void TfrmTools::UpdateFileMenu(int tag) {
  if (tag == 1) {
    const int row = filters->CommitDefault();
    if (QObject *dlgOpen = context_.main.findChild<QObject *>(QStringLiteral("dlgOpen"),
                                                              Qt::FindDirectChildrenOnly)) {
      dlgOpen->setProperty("Filter", filters->Filter());
      dlgOpen->setProperty("FilterIndex", row);
    }
    context_.Holder("lblFilter").SetCaption(QString::number(row));
    context_.setFavorites(favorites->Favorites());
    network->Save();
  }
  close();
}
