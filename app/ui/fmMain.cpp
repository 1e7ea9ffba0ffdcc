// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/fmMain.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <string_view>

#include "app/core/CommandLine.h"
#include "app/ui/Commands.h"
#include "app/ui/HelpCommands.h"
#include "app/ui/MenuText.h"
#include "app/ui/TipPanel.h"
#include "app/ui/fmCustomize.h"
#include "documents/recovery/RecoveryStartUp.h"
#include "documents/ui/DocumentCommands.h"
#include "documents/ui/FileDialogs.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "integration/SystemIntegration.h"
#include "platform/core/Folders.h"
#include "platform/core/ProductTexts.h"
#include "platform/core/SystemUser.h"
#include "platform/desktop/IdleNotifier.h"
#include "platform/gui/WinColor.h"
#include "platform/ui/AccessibleNames.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/Glyphs.h"
#include "platform/ui/MdiFrame.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PanelStatusBar.h"
#include "platform/ui/ReportErrors.h"
#include "platform/ui/ToolButtonToggles.h"
#include "settings/core/RootKey.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/FormTables.h"
#include "settings/ui/Holder.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/SpellDlg.h"
#include "spell/ui/WordForm.h"

namespace {

const QString kProduct = ProductTexts::Name();
const QString kDefaultFilter = QStringLiteral(
    "Text Files (*.TXT)|*.txt|Initialization Files (*.INI)|*.ini|HTML Files "
    "(*.HTM;*HTML)|*.htm;*.html|All Files (*.*)|*.*");
const QString kUntitled = ProductTexts::Untitled();
using C = TCommand;
using H = TMainHolder;

}  // namespace

TfrmMain::TfrmMain(const QStringList &commandLine, QWidget *parent)
    : QMainWindow(parent), saver_(*this) {
  // A relative name means the folder the program was started in, whatever folder opening a
  // file makes current later.
  commandFiles_ = CommandLine::FileNames(commandLine);
  FormCreate();
}

TfrmMain::~TfrmMain() {
  strMain_->FormDestroying();
  FormDestroy();
}

// ---- creation ---------------------------------------------------------------------------

void TfrmMain::FormCreate() {
  setObjectName(QStringLiteral("frmMain"));
  setAcceptDrops(true);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  setFont(font);
  resize(640, 451);

  area_ = new QMdiArea(this);
  area_->setObjectName(QStringLiteral("ClientArea"));
  area_->setFrameShape(QFrame::StyledPanel);
  area_->setFrameShadow(QFrame::Sunken);
  area_->setActivationOrder(QMdiArea::ActivationHistoryOrder);

  createHolders();
  createActions();
  createMenus();
  createToolBars();
  createTipPanel();
  help_ = new THelpCommands(*this);

  auto *central = new QWidget(this);
  auto *layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pnlTip_);
  layout->addWidget(area_, 1);
  setCentralWidget(central);

  auto *status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("barMain"));
  status->setFixedHeight(22);
  status->setSizeGripEnabled(true);
  setStatusBar(status);
  status->hide();

  createTray();
  createFileListItems();
  connectCommands();
  integration_ = new TSystemIntegration(Item(C::SetDefault), this);
  connect(Menu(TMenu::Options), &QMenu::aboutToShow, integration_,
          &TSystemIntegration::mniOptionsClick);
  strMain_ = new TFormStorage(this);
  strMain_->setObjectName(QStringLiteral("strMain"));
  strMain_->IniSection = QStringLiteral("Main Form");
  strMain_->SetStoredProps(FormTables::MainFormProps(), FormTables::MainFormDefaults());
  strMain_->LinkToolBar(barMCustom_);
  strMain_->LinkToolBar(barECustom_);
  setWindowTitle(kProduct);
  applicationTitle_ = kProduct;
  MessageBox::SetApplicationTitle(applicationTitle_);

  // The area names a maximised window in the frame's caption its own way; the frame's caption
  // names the active one.
  connect(this, &QWidget::windowTitleChanged, this, [this] { UpdateTitles(); });
  connect(area_, &QMdiArea::subWindowActivated, this, [this] {
    UpdateTitles();
    proAppAFormChange();
    TIdleNotifier::Instance().Request();
  });
  connect(&TIdleNotifier::Instance(), &TIdleNotifier::Idle, this, &TfrmMain::proAppIdle);
  qApp->installEventFilter(this);
  qApp->installEventFilter(new TAccessibleNamer(this));  // names for assistive technology
  LoadFileLists();
  proAppAFormChange();
}

void TfrmMain::createHolders() {
  // The spell-check component; its settings are kept with the main window's.
  dlgSpell_ = new TSpellDlg(this);
  dlgSpell_->setObjectName(QStringLiteral("dlgSpell"));
  dlgSpell_->SetUserDictionary(QStringLiteral("USER.DIC"));
  // The Open dialog is made for each use; its stored filter list and index live here.
  dlgOpen_ = new TFileDialogSettings(this);
  dlgOpen_->setObjectName(QStringLiteral("dlgOpen"));
  // A menu item that is never shown but whose state is kept with the others.
  auto *viewAll = new QAction(this);
  viewAll->setObjectName(QStringLiteral("mniViewAll"));
  viewAll->setCheckable(true);
  viewAll->setVisible(false);
  // Their defaults are those of the "Main Form" table, which the settings store assigns as
  // soon as it is given the table.
  for (const MainSettings::THolderName &def : MainSettings::kHolders)
    holders_[std::size_t(def.id)] = new THolder(QString::fromLatin1(def.name), this);
}

void TfrmMain::setHint(QAction *action, const QString &hint) {
  const auto parts = Commands::SplitHint(hint);
  action->setToolTip(parts.popup);
  action->setStatusTip(parts.status);
  action->setProperty("hint", hint);
}

void TfrmMain::keepByName(QAction *action) { actionsByName_.insert(action->objectName(), action); }

void TfrmMain::createActions() {
  const TGlyphList &glyphs = TGlyphList::Shared();
  for (const TCommandDef &def : Commands::MenuItems()) {
    auto *action = new QAction(QString::fromUtf8(def.caption), this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setProperty("tag", def.tag);
    if (*def.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut)));
    setHint(action, QString::fromUtf8(def.hint));
    if (def.glyph >= 0) action->setIcon(glyphs.Icon(def.glyph));
    action->setCheckable(def.kind != TCommandDef::Plain);
    // A check item shows its check mark in the menu, not its picture.
    if (def.kind != TCommandDef::Plain) action->setIconVisibleInMenu(false);
    items_[std::size_t(def.id)] = action;
  }
  for (const TPopupTwin &def : Commands::PopupTwins()) {
    const QAction *twin = Item(def.twin);
    auto *action = new QAction(twin->icon(), twin->text(), this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setProperty("tag", twin->property("tag"));
    setHint(action, twin->property("hint").toString());
    if (def.showsKey) {
      // Shown as a label only: the menu bar's item owns the key.
      action->setShortcut(twin->shortcut());
      action->setShortcutContext(Qt::WidgetShortcut);
    }
    popupItems_[std::size_t(def.id)] = action;
  }
  auto *align = new QActionGroup(this);
  align->setExclusive(true);
  for (const C c : {C::AlignLeft, C::AlignRight, C::AlignCenter}) align->addAction(Item(c));
  Item(C::AlignLeft)->setChecked(true);
  Item(C::TrayRestore)->setFont([] {
    QFont f;
    f.setBold(true);
    return f;
  }());
}

void TfrmMain::createMenus() {
  const auto defs = Commands::Menus();
  for (const TMenuDef &def : defs) {
    auto *menu = new QMenu(QString::fromUtf8(def.caption), this);
    menu->setObjectName(QString::fromLatin1(def.name));
    menu->setToolTipsVisible(false);
    // Assistive technology names a menu by its caption, or by its hint when it has none.
    menu->setAccessibleName(*def.caption ? menu->title().remove(u'&')
                                         : QString::fromUtf8(def.hint));
    menus_[std::size_t(def.id)] = menu;
    menusByName_.insert(menu->objectName(), menu);
  }
  // A submenu takes the place of its command's item, with the item's name, glyph and hint.
  for (const auto &[c, submenu] : {std::pair{C::Reopen, TMenu::Reopen},
                                   {C::FavFiles, TMenu::FavFiles},
                                   {C::Convert, TMenu::Convert}}) {
    QAction *item = Item(c);
    QMenu *sub = Menu(submenu);
    sub->menuAction()->setObjectName(item->objectName());
    sub->setIcon(item->icon());
    setHint(sub->menuAction(), item->property("hint").toString());
    items_[std::size_t(c)] = sub->menuAction();
    delete item;
  }
  for (const TMenuDef &def : defs) {
    QMenu *menu = Menu(def.id);
    for (const TMenuEntry &entry : def.entries) {
      switch (entry.kind) {
        case TMenuEntry::Separator:
          if (QAction *sep = menu->addSeparator(); entry.name) {
            sep->setObjectName(QString::fromLatin1(entry.name));
            keepByName(sep);
            if (std::string_view(entry.name) == kDocumentDivider) documentDivider_ = sep;
          }
          break;
        case TMenuEntry::Submenu:
          menu->addMenu(Menu(TMenu(entry.id)));
          break;
        case TMenuEntry::Item:
          menu->addAction(Item(C(entry.id)));
          break;
        case TMenuEntry::Popup:
          menu->addAction(PopupItem(TPopupItem(entry.id)));
          break;
      }
    }
  }
  for (const TMenuDef &def : defs.first(std::size_t(TMenu::Help) + 1)) {
    QMenu *menu = Menu(def.id);
    menuBar()->addMenu(menu);
    menu->menuAction()->setObjectName(menu->objectName());
    setHint(menu->menuAction(), QString::fromUtf8(def.hint));
    keepByName(menu->menuAction());
  }
  menuBar()->setObjectName(QStringLiteral("mnuMain"));
  connect(Menu(TMenu::Window), &QMenu::aboutToShow, this, &TfrmMain::rebuildWindowList);
}

void TfrmMain::createToolBars() {
  const TGlyphList &glyphs = TGlyphList::Shared();
  for (const TButtonDef &def : Commands::Buttons()) {
    QAction *command = Item(def.command);
    auto *button = new QAction(glyphs.Icon(def.glyph), QString::fromUtf8(def.caption), this);
    button->setObjectName(QString::fromLatin1(def.name));
    button->setProperty("tag", command->property("tag"));
    button->setProperty("section", QString::fromLatin1(def.section));
    button->setProperty("command", command->objectName());
    setHint(button, QString::fromUtf8(def.hint));
    buttons_[std::size_t(def.id)] = button;
  }
  auto build = [&](const char *name, std::span<const TButton> shown) {
    auto *bar = new QToolBar(this);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setFixedHeight(29);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setToolTip(QString());
    bar->setStatusTip(QStringLiteral("Right-click for tool bar options"));
    for (const TButton b : shown) bar->addAction(Button(b));
    for (QAction *a : bar->actions())
      if (auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a))) b->setFixedSize(24, 23);
    addToolBar(Qt::TopToolBarArea, bar);
    ToolButtonToggles::RunCommandsOnToggle(bar);
    return bar;
  };
  barMCustom_ = build("barMCustom", Commands::MainDefaultButtons());
  addToolBarBreak(Qt::TopToolBarArea);
  barECustom_ = build("barECustom", Commands::EditDefaultButtons());
  auto *align = new QActionGroup(this);
  for (const TButton b : {TButton::AlignLeft, TButton::AlignRight, TButton::AlignCenter}) {
    Button(b)->setCheckable(true);
    align->addAction(Button(b));
  }
  Button(TButton::AlignLeft)->setChecked(true);
  createStyleMenu();
}

void TfrmMain::createStyleMenu() {
  // One style menu for both bars; its items are the table's rows, whose handler restyles.
  const TCommandDef &explore = Commands::Of(C::ExploreStyle);
  const TCommandDef &standard = Commands::Of(C::StandardStyle);
  pumToolBar_ =
      new TBarStyleMenu({barMCustom_, barECustom_},
                        {QString::fromUtf8(explore.caption), QString::fromUtf8(explore.hint),
                         QString::fromUtf8(standard.caption), QString::fromUtf8(standard.hint)});
  pumToolBar_->setAccessibleName(QStringLiteral("Tool bar style menu"));
  menusByName_.insert(pumToolBar_->objectName(), pumToolBar_);
  for (const TCommandDef *def : {&explore, &standard}) {
    QAction *item = pumToolBar_->ItemOfTag(def->tag);
    delete Item(def->id);
    item->setProperty("tag", def->tag);
    setHint(item, QString::fromUtf8(def->hint));
    items_[std::size_t(def->id)] = item;
  }
}

void TfrmMain::createTipPanel() {
  pnlTip_ = new TTipPanel(Folders::ProgramFolder() + QStringLiteral("tips.txt"), this);
}

void TfrmMain::createTray() {
  QIcon icon = QIcon::fromTheme(QStringLiteral("vellumix"),
                                QIcon(QStringLiteral(":/vellumix/vellumix.png")));
  setWindowIcon(icon);
  QApplication::setWindowIcon(icon);
  traIcon_ = new QSystemTrayIcon(icon, this);
  traIcon_->setObjectName(QStringLiteral("traIcon"));
  traIcon_->setContextMenu(Menu(TMenu::Tray));
  traIcon_->setToolTip(kProduct);
  connect(traIcon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
              RestoreFromTray();
          });
  if (QSystemTrayIcon::isSystemTrayAvailable()) traIcon_->show();
}

void TfrmMain::connectCommands() {
  // Each item runs the handler its table row names; an item without one stays disabled.
  // Pop-up items and tool buttons run the handler of the command they repeat. Items made at
  // run time (recent and favourite files, the window list) connect themselves. An error that
  // ends a command is reported here and the program goes on.
  auto wire = [this](QAction *action, const TCommandDef &def) {
    if (action->menu()) {
      action->setProperty("handled", true);  // opens its submenu
      return;
    }
    const TCommandHandler handler = def.handler;
    action->setProperty("handled", handler != nullptr);
    if (!handler) {
      action->setEnabled(false);
      return;
    }
    connect(action, &QAction::triggered, this, [this, action, handler] {
      ReportErrors(this, [&] { handler(*this, action->property("tag").toInt()); });
    });
  };
  for (const TCommandDef &def : Commands::MenuItems()) wire(Item(def.id), def);
  for (const TPopupTwin &def : Commands::PopupTwins())
    wire(PopupItem(def.id), Commands::Of(def.twin));
  for (const TButtonDef &def : Commands::Buttons()) wire(Button(def.id), Commands::Of(def.command));
  for (const auto &actions :
       {std::span<QAction *const>(items_), std::span<QAction *const>(popupItems_),
        std::span<QAction *const>(buttons_)})
    for (QAction *action : actions) keepByName(action);
}

void TfrmMain::EnableCommand(QAction *action, bool on) {
  if (action) action->setEnabled(on && action->property("handled").toBool());
}

// ---- lookup -----------------------------------------------------------------------------

QAction *TfrmMain::Action(const QString &name) const { return actionsByName_.value(name); }
QMenu *TfrmMain::Menu(const QString &name) const { return menusByName_.value(name); }
THolder *TfrmMain::Holder(const QString &name) const {
  for (const MainSettings::THolderName &def : MainSettings::kHolders)
    if (name == QLatin1String(def.name)) return Holder(def.id);
  return nullptr;
}
bool TfrmMain::IsChecked(TCommand command) const { return Item(command)->isChecked(); }
QStatusBar *TfrmMain::barMain() const { return statusBar(); }
QMenu *TfrmMain::PopupMenu() const { return Menu(TMenu::Popup); }
QString TfrmMain::OpenFilter() const {
  const QString filter = dlgOpen_->Filter();
  return filter.isEmpty() ? kDefaultFilter : filter;
}
QString TfrmMain::FilePath() const { return Holder(H::FilePath)->Caption(); }
QString TfrmMain::EditDisplay() const { return Holder(H::EditDisplay)->Caption(); }
bool TfrmMain::IsChecked(const QString &itemName) const {
  const QAction *a = Action(itemName);
  return a && a->isChecked();
}

TfrmEdit *TfrmMain::ActiveEdit() const {
  QMdiSubWindow *sub = area_->currentSubWindow();
  if (!sub) sub = area_->activeSubWindow();
  return sub ? qobject_cast<TfrmEdit *>(sub->widget()) : nullptr;
}

QList<TfrmEdit *> TfrmMain::EditWindows() const {
  QList<TfrmEdit *> windows;
  for (QMdiSubWindow *sub : area_->subWindowList(QMdiArea::CreationOrder))
    if (auto *edit = qobject_cast<TfrmEdit *>(sub->widget())) windows << edit;
  return windows;
}

QMdiSubWindow *TfrmMain::SubWindowOf(TfrmEdit *window) const {
  for (QMdiSubWindow *sub : area_->subWindowList())
    if (sub->widget() == window) return sub;
  return nullptr;
}

bool TfrmMain::IsTopMost() const { return windowFlags() & Qt::WindowStaysOnTopHint; }

// ---- showing ----------------------------------------------------------------------------

void TfrmMain::showEvent(QShowEvent *event) {
  QMainWindow::showEvent(event);
  if (!shown_) {
    shown_ = true;
    // After the window is on screen, so that the document windows open inside a laid-out frame.
    QTimer::singleShot(0, this, [this] { ReportErrors(this, [this] { FormShow(); }); });
  }
}

void TfrmMain::FormShow() {
  for (const H h : {H::FilePath, H::ImportPath, H::ExportPath}) {
    THolder *holder = Holder(h);
    if (holder->Caption().isEmpty()) holder->SetCaption(Folders::Home());
  }
  // The names not yet entered are replaced first, so that the set-up wizard shows them.
  const QString fullName = SystemUser::FullName();
  if (Holder(H::SMTPName)->Caption() == QLatin1String("Temp") && !fullName.isEmpty())
    Holder(H::SMTPName)->SetCaption(fullName);
  if (Holder(H::SMTPOrg)->Caption() == QLatin1String("Temp"))
    Holder(H::SMTPOrg)->SetCaption(QString());
  if (Holder(H::FirstTime)->Checked() && SetupWizard) SetupWizard();
  Holder(H::FirstTime)->SetChecked(false);
  SetProductTexts();
  UpdateMainMenus();
  proAppAFormChange();
  pnlTip_->setVisible(IsChecked(C::Tip));
  // The tip is there before the files named on the command line open (a large one takes a
  // while, and the panel would stand empty meanwhile).
  pnlTip_->proChangeTips();
  area_->setBackground(WinColor::ToQColor(Holder(H::SMTPHost)->Color()));
  if (commandFiles_.isEmpty()) NewWorkspace();
  for (const QString &file : commandFiles_) OpenFile(file);
  helpFile_ = Folders::ProgramFolder() + QStringLiteral("velx96.hlp");
  if (IsChecked(C::StayOnTop))
    TopMostOn();
  else
    TopMostOff();
  RecoveryStartUp::Begin(this, {Item(C::ReopenSession), [this] { return NewWorkspace(); },
                                [this](const QString &file) { return OpenFile(file); }});
}

void TfrmMain::UpdateMainMenus() {
  const bool flat = IsChecked(C::ExploreStyle);
  for (QToolBar *bar : {barMCustom_, barECustom_})
    for (QAction *a : bar->actions())
      if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a)))
        button->setAutoRaise(flat);
}

void TfrmMain::SetProductTexts() {
  auto hint = [this](QAction *action, const QString &text) { setHint(action, text); };
  using B = TButton;
  const QString whatsNew = QStringLiteral("What's new in this version of ") + kProduct;
  const QString download =
      QStringLiteral("Download the latest version of ") + kProduct + QStringLiteral("...");
  const QString about = QStringLiteral("About ") + kProduct + QStringLiteral("...");
  const QString exit = QStringLiteral("Exit ") + kProduct;
  const QString prefs = QStringLiteral("Set ") + kProduct + QStringLiteral(" preferences...");
  hint(Item(C::WhatsNew), whatsNew);
  hint(Button(B::WhatsNew), whatsNew);
  hint(Item(C::Download), download);
  hint(Button(B::Download), download);
  Item(C::About)->setText(about);
  hint(Item(C::About), about);
  Button(TButton::About)->setText(QStringLiteral("About ") + kProduct);
  hint(Button(B::About), about);
  Button(TButton::Exit)->setText(exit);
  hint(Button(B::Exit), exit);
  hint(Item(C::Exit), exit);
  hint(Button(B::Preferences), prefs);
  hint(Item(C::Preferences), prefs);
  Item(C::TrayRestore)->setText(kProduct + QStringLiteral("..."));
  hint(Item(C::TrayRestore), QStringLiteral("Restore ") + kProduct + QStringLiteral("..."));
  hint(Item(C::TrayAbout), about);
  hint(Item(C::TrayExit), exit);
}

// ---- document windows -------------------------------------------------------------------

TfrmEdit *TfrmMain::createEditWindow() {
  auto *edit = new TfrmEdit(*this);
  QMdiSubWindow *sub = area_->addSubWindow(edit);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(windowIcon());
  connect(edit, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
  connect(sub, &QMdiSubWindow::windowStateChanged, this, [this] { UpdateTitles(); });
  connect(sub, &QWidget::windowTitleChanged, this, [this] { UpdateTitles(); });
  connect(sub, &QObject::destroyed, this, [this] {
    QTimer::singleShot(0, this, [this] {
      proAppAFormChange();
      UpdateTitles();
      TIdleNotifier::Instance().Request();
    });
  });
  sub->show();
  // The window state the user chose for new workspaces wins over the stored one.
  const QString display = EditDisplay();
  if (display == QLatin1String("1"))
    sub->showMinimized();
  else if (display == QLatin1String("2"))
    sub->showNormal();
  else
    sub->showMaximized();
  area_->setActiveSubWindow(sub);
  edit->mmoMemo()->setFocus();
  return edit;
}

TfrmEdit *TfrmMain::NewWorkspace() {
  TfrmEdit *edit = createEditWindow();
  const QString name = u' ' + FilePath() + kUntitled;
  edit->SetUntitled(name);
  currentFileName_ = name;
  UpdateTitles();
  return edit;
}

TfrmEdit *TfrmMain::OpenFile(const QString &fileName) {
  TfrmEdit *edit = createEditWindow();
  if (edit->Open(QFileInfo(fileName).absoluteFilePath())) UpdateMRU(edit->FileName());
  return edit;
}

// ---- recent and favourite files ---------------------------------------------------------

void TfrmMain::fillFileListItems(TFileListItems &list, const QString &prefix,
                                 const QString &divider) {
  QMenu *menu = Item(list.submenu)->menu();
  for (int n = 0; n < TFileLists::MaxEntries; ++n) {
    if (n == 4) {
      list.divider = menu->addSeparator();
      list.divider->setObjectName(divider);
      list.divider->setVisible(false);
      keepByName(list.divider);
    }
    auto *item = menu->addAction(QString());
    item->setObjectName(prefix + QString::number(n + 1));
    item->setProperty("tag", n);
    item->setVisible(false);
    keepByName(item);
    list.items << item;
  }
}

void TfrmMain::createFileListItems() {
  fillFileListItems(recentItems_, QStringLiteral("mniMRU"), QStringLiteral("mniMRUDiv"));
  fillFileListItems(favoriteItems_, QStringLiteral("mniFav0"), QStringLiteral("mniFavDiv"));
  for (QAction *recent : std::as_const(recentItems_.items))
    connect(recent, &QAction::triggered, this, [this, recent] {
      ReportErrors(this,
                   [&] { RunMRU(recent->data().toString(), recent->property("tag").toInt()); });
    });
  for (QAction *favorite : std::as_const(favoriteItems_.items))
    connect(favorite, &QAction::triggered, this, [this, favorite] {
      ReportErrors(this,
                   [&] { RunFav(favorite->data().toString(), favorite->property("tag").toInt()); });
    });
  connect(Menu(TMenu::File), &QMenu::aboutToShow, this, [this] {
    ShowRecentMenu();
    ShowFavoriteMenu();
  });
  // The items' hints are set when their submenu opens.
  connect(Menu(TMenu::Reopen), &QMenu::aboutToShow, this, [this] {
    for (QAction *item : std::as_const(recentItems_.items))
      setHint(item, QStringLiteral("Reopen ") + item->data().toString());
  });
  connect(Menu(TMenu::FavFiles), &QMenu::aboutToShow, this, [this] {
    for (QAction *item : std::as_const(favoriteItems_.items))
      setHint(item, QStringLiteral("Open ") + item->data().toString());
  });
}

void TfrmMain::LoadFileLists() {
  ReportErrors(this, [this] {
    TRootKey root;
    fileLists_.Load(root);
    root.Close();
  });
  ShowRecentMenu();
  ShowFavoriteMenu();
}

void TfrmMain::SaveFileLists() {
  ReportErrors(this, [this] {
    TRootKey root;
    fileLists_.Save(root);
    root.Close();
  });
}

void TfrmMain::UpdateMRU(const QString &path) {
  fileLists_.UpdateMRU(path);
  ShowRecentMenu();
}

void TfrmMain::showFileListMenu(const QStringList &entries, const TFileListItems &list) {
  int shown = 0;
  for (int n = 0; n < list.items.size(); ++n) {
    QAction *item = list.items[n];
    const QString entry = entries.value(n);
    item->setVisible(!entry.isEmpty());
    // Paths keep their case here: a lower-cased path names another file.
    item->setText(MenuText::Literal(entry));
    item->setData(entry);
    shown += !entry.isEmpty();
  }
  list.divider->setVisible(list.items[4]->isVisible());
  Item(list.submenu)->setVisible(shown > 0 && Holder(list.shown)->Checked());
}

void TfrmMain::ShowRecentMenu() { showFileListMenu(fileLists_.Recent(), recentItems_); }

void TfrmMain::ShowFavoriteMenu() { showFileListMenu(fileLists_.Favorites(), favoriteItems_); }

bool TfrmMain::reportMissing(const QString &path) {
  if (QFileInfo(path).isFile()) return false;
  MessageBox::Show(
      this, MessageBox::MsgHeader() + path + QStringLiteral(" no longer exists on this computer!"),
      TMsgKind::Warning, TMsgButtons::Ok);
  return true;
}

void TfrmMain::RunMRU(const QString &path, int position) {
  if (!reportMissing(path)) {
    OpenFile(path);
    return;
  }
  if (position >= 0) {
    fileLists_.RemoveRecent(position);
    ShowRecentMenu();
  }
}

void TfrmMain::RunFav(const QString &path, int position) {
  if (!reportMissing(path)) {
    TfrmEdit *edit = createEditWindow();
    edit->Open(path);
    return;
  }
  fileLists_.RemoveFavorite(position);
  ShowFavoriteMenu();
}

void TfrmMain::OpenTextFile() {
  TopMostOff();
  QFileDialog dialog(this, QStringLiteral("Open"), FilePath());
  dialog.setObjectName(QStringLiteral("dlgOpen"));
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::ReadOnly, false);
  // Each opening starts from the default type; the one chosen is kept with the dialog.
  dlgOpen_->SetFilterIndex(Holder(H::lblFilter)->Caption().toInt());
  FileDialogs::SetFilters(dialog, OpenFilter(), dlgOpen_->FilterIndex());
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (const int chosen = FileDialogs::ChosenIndex(dialog, OpenFilter()); chosen > 0)
    dlgOpen_->SetFilterIndex(chosen);
  if (accepted && !dialog.selectedFiles().isEmpty()) {
    const QString name = dialog.selectedFiles().first();
    OpenFile(name);
    SetFilePath(Folders::FolderOf(QFileInfo(name).absoluteFilePath()));
  }
  TopMostOn();
}

void TfrmMain::SetFilePath(const QString &folder) { Holder(H::FilePath)->SetCaption(folder); }

void TfrmMain::OpenDroppedFiles(const QList<QUrl> &urls) {
  for (const QUrl &url : urls) {
    if (!url.isLocalFile()) continue;
    OpenFile(url.toLocalFile());
    return;  // only the first file of a drop
  }
}

void TfrmMain::dragEnterEvent(QDragEnterEvent *event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent *event) {
  ReportErrors(this, [&] { OpenDroppedFiles(event->mimeData()->urls()); });
  event->acceptProposedAction();
}

// ---- commands ---------------------------------------------------------------------------

void TfrmMain::CloseActive() {
  if (TfrmEdit *active = ActiveEdit()) SubWindowOf(active)->close();
}

void TfrmMain::CustomizeToolBar(QToolBar *bar, std::span<const TButtonDef> buttons) {
  QList<QAction *> all;
  for (const TButtonDef &def : buttons) all << Button(def.id);
  TfrmCustomize dialog(bar, all, this);
  dialog.exec();
  UpdateMainMenus();
}

TSaveSettings TfrmMain::SaveSettings() {
  TSaveSettings settings;
  settings.makeBackup = IsChecked(C::AutomaticBackups);
  settings.folder = FilePath();
  settings.filter = OpenFilter();
  settings.filterIndex = Holder(H::lblFilter)->Caption().toInt();
  settings.named = [this](const QString &name) { UpdateMRU(name); };
  return settings;
}

bool TfrmMain::SaveFile(TfrmEdit *window, const QString &fileName) {
  return saver_.Save(*window, fileName, SaveSettings());
}

bool TfrmMain::SaveFileAs(TfrmEdit *window) { return saver_.SaveAs(*window, SaveSettings()); }

bool TfrmMain::SaveFromClose(TfrmEdit *window) { return SaveFile(window, window->SaveName()); }

// ---- Character menu ----------------------------------------------------------------------

void TfrmMain::Align(int tag) {
  if (tag < 0 || tag > 2) return;
  showAlignment(TTextAlignment(tag));
  if (TfrmEdit *active = ActiveEdit()) CharacterCommands::Align(*active->mmoMemo(), tag);
}

void TfrmMain::ApplyWordWrap() {
  CharacterCommands::SetWordWrap(EditWindows(), IsChecked(C::WordWrap), this);
}

void TfrmMain::InsertDateTime() {
  if (TfrmEdit *active = ActiveEdit())
    CharacterCommands::InsertDateTime(*active->mmoMemo(), Holder(H::lblDate)->Caption(),
                                      Holder(H::lblTime)->Caption());
}

void TfrmMain::SpellCheck() {
  TfrmEdit *active = ActiveEdit();
  if (!active) return;
  const TTopMostPause pause(*this);
  const QString dictionary = dlgSpell_->DictionaryName();  // without its extension
  dlgSpell_->SetDialogCaption(kProduct + QStringLiteral(" - ") +
                              dictionary.chopped(std::min<qsizetype>(4, dictionary.size())));
  dlgSpell_->CheckEdit(*active->mmoMemo());
}

void TfrmMain::WordCount() {
  TfrmEdit *active = ActiveEdit();
  if (!active) return;
  const TTopMostPause pause(*this);
  dlgSpell_->CountWords(*active->mmoMemo());
}

void TfrmMain::proMenuWindows(int tag) {
  switch (tag) {
    case 0:
      MdiFrame::TileHorizontally(area_);
      break;
    case 1:
      MdiFrame::Cascade(area_);
      break;
    case 2:
      MdiFrame::ArrangeIcons(area_);
      break;
    default:
      break;
  }
}

void TfrmMain::rebuildWindowList() {
  QMenu *menu = Menu(TMenu::Window);
  qDeleteAll(windowListActions_);
  windowListActions_.clear();
  const auto subs = area_->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  windowListActions_ << menu->addSeparator();
  int number = 1;
  for (QMdiSubWindow *sub : subs) {
    auto *item = menu->addAction(
        QStringLiteral("&%1 %2").arg(number++).arg(MenuText::Literal(sub->windowTitle())));
    item->setCheckable(true);
    item->setChecked(sub == area_->currentSubWindow());
    QPointer<QMdiSubWindow> target(sub);
    connect(item, &QAction::triggered, this, [this, target] {
      if (target) area_->setActiveSubWindow(target);
    });
    windowListActions_ << item;
  }
}

void TfrmMain::OptionsMenu() {
  // A checkable item has flipped its own check mark when it was triggered: that is step 1.
  integration_->ApplyWinStart(IsChecked(C::WinStart));
  proAppAFormChange();  // hints, status bar and pop-up hints
  pnlTip_->setVisible(IsChecked(C::Tip));
  if (IsChecked(C::StayOnTop))
    TopMostOn();
  else
    TopMostOff();
}

// ---- stay on top, titles, tray ----------------------------------------------------------

void TfrmMain::applyTopMost(bool on) {
  if (topMost_ == on && IsTopMost() == on) return;
  topMost_ = on;
  Qt::WindowFlags flags = windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  if (QWindow *window = windowHandle()) {
    // Told to the desktop's window as it is: changing the widget's flags would destroy and
    // re-create the window, which vanishes and comes back at every dialog.
    overrideWindowFlags(flags);
    window->setFlags(flags);
  } else {
    setWindowFlags(flags);  // not on screen yet: nothing to re-create
  }
}

void TfrmMain::TopMostOff() { applyTopMost(false); }

void TfrmMain::TopMostOn() { applyTopMost(IsChecked(C::StayOnTop)); }

QString TfrmMain::titleFor() const {
  QString caption = kProduct;
  QMdiSubWindow *sub = area_->currentSubWindow();
  if (sub && sub->isMaximized() && !sub->windowTitle().isEmpty())
    caption += QStringLiteral(" - [") + sub->windowTitle() + u']';
  return caption;
}

void TfrmMain::UpdateTitles() {
  const QString caption = titleFor();
  if (windowTitle() != caption) setWindowTitle(caption);
  applicationTitle_ = caption;
  MessageBox::SetApplicationTitle(caption);
  traIcon_->setToolTip(caption);
}

void TfrmMain::Exit() {
  if (!close()) return;
  traIcon_->hide();
  // A window hidden in the tray is no window whose closing ends the program by itself.
  QCoreApplication::quit();
}

void TfrmMain::RestoreFromTray() {
  show();
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  raise();
  activateWindow();
}

void TfrmMain::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized() && traIcon_->isVisible()) {
    // Only the tray icon remains; without a tray the task-bar entry always stays.
    QTimer::singleShot(0, this, &QWidget::hide);
  }
}

void TfrmMain::Activate(TfrmEdit *window) {
  if (QMdiSubWindow *sub = SubWindowOf(window)) {
    area_->setActiveSubWindow(sub);
    sub->raise();
  }
}

void TfrmMain::OpenWebLink(const QString &question, const QString &address) {
  const QUrl url(address.startsWith(QLatin1String("www."), Qt::CaseInsensitive)
                     ? QStringLiteral("http://") + address
                     : address);
  const QString scheme = url.scheme().toLower();
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
      scheme != QLatin1String("ftp") && scheme != QLatin1String("mailto"))
    return;
  TopMostOff();
  const bool go = MessageBox::Show(this, question, TMsgKind::Information, TMsgButtons::YesNo) ==
                  TMsgResult::Yes;
  bool connected = true;
  if (go && Holder(H::SMTPReminder)->Checked())
    connected =
        MessageBox::Show(
            this, MessageBox::MsgHeader() + QStringLiteral("Are you connected to the Internet?"),
            TMsgKind::Information, TMsgButtons::YesNo) == TMsgResult::Yes;
  if (go && connected) QDesktopServices::openUrl(url);
  TopMostOn();
}

// ---- refresh ----------------------------------------------------------------------------

void TfrmMain::showAlignment(TTextAlignment alignment) {
  static constexpr std::pair<TCommand, TButton> kShown[] = {{C::AlignLeft, TButton::AlignLeft},
                                                            {C::AlignRight, TButton::AlignRight},
                                                            {C::AlignCenter, TButton::AlignCenter}};
  const auto [item, button] = kShown[std::size_t(alignment)];
  Item(item)->setChecked(true);
  Button(button)->setChecked(true);
}

void TfrmMain::proAppIdle() {
  using B = TButton;
  using P = TPopupItem;
  // A command's menu item, its pop-up twin and its tool button, whichever it has.
  struct TFaces {
    std::initializer_list<C> items;
    std::initializer_list<P> popup;
    std::initializer_list<B> buttons;
  };
  auto enable = [this](const TFaces &faces, bool on) {
    for (const C c : faces.items) EnableCommand(Item(c), on);
    for (const P p : faces.popup) EnableCommand(PopupItem(p), on);
    for (const B b : faces.buttons) EnableCommand(Button(b), on);
  };
  TfrmEdit *active = ActiveEdit();
  // While a document loads, or a long command works on it, nothing else reads or changes it: a
  // text half there is not saved, sent, printed, counted or searched.
  const bool busy = active && active->Busy();
  const QMimeData *clip = QApplication::clipboard()->mimeData();
  const bool p = clip && clip->hasText() && !busy;
  enable({{C::Paste, C::PasteSpecial}, {P::Paste, P::PasteSpecial}, {B::Paste}}, p);
  enable({{C::Export, C::Save, C::SaveAs, C::SendAsEmail, C::DateTime, C::Lower, C::Upper,
           C::TitleCase, C::ToggleCase},
          {},
          {B::Save, B::SaveAs, B::Email, B::Print, B::DateTime}},
         !busy);

  TUndoKind u = TUndoKind::Unknown, r = TUndoKind::Unknown;
  bool cu = false, cr = false, s = false, n = false;
  if (active) {
    TRichEdit *memo = active->mmoMemo();
    EnableCommand(Item(C::Import), active->Caption() == kUntitled && !busy);
    u = memo->UndoKind();
    cu = memo->CanUndo() && !busy;
    r = memo->RedoKind();
    cr = memo->CanRedo() && !busy;
    s = memo->SelLength() > 0 && !busy;
    n = memo->PositionCount() > 0 && !busy;
    showAlignment(memo->Alignment());
  }
  static const char *const kKinds[] = {"", " Typing", " Delete", " Drag Drop", " Cut", " Paste"};
  const QString undo = QStringLiteral("&Undo") + QLatin1String(kKinds[int(u)]);
  const QString redo = QStringLiteral("&Redo") + QLatin1String(kKinds[int(r)]);
  for (QAction *a : {Item(C::Undo), PopupItem(P::Undo)}) a->setText(undo);
  for (QAction *a : {Item(C::Redo), PopupItem(P::Redo)}) a->setText(redo);
  for (QAction *a : {Item(C::Undo), PopupItem(P::Undo), Button(B::Undo)}) setHint(a, undo.mid(1));
  for (QAction *a : {Item(C::Redo), PopupItem(P::Redo), Button(B::Redo)}) setHint(a, redo.mid(1));
  enable({{C::Undo}, {P::Undo}, {B::Undo}}, cu);
  enable({{C::Redo}, {P::Redo}, {B::Redo}}, cr);
  enable({{C::Cut, C::Copy, C::Delete, C::Capitalize},
          {P::Cut, P::Copy, P::Delete},
          {B::Cut, B::Copy, B::Delete, B::Capitalize}},
         s);
  enable({{C::SelectAll, C::Print, C::PrintPreview, C::Find, C::FindNext, C::Replace, C::Convert,
           C::Spell, C::WordCount},
          {P::SelectAll, P::Find, P::FindNext, P::Replace},
          {B::SelectAll, B::Find, B::FindNext, B::Replace, B::Lower, B::Upper, B::TitleCase,
           B::ToggleCase, B::Spell}},
         n);
  const QString scope = s ? QStringLiteral("selected text") : QStringLiteral("all text");
  const std::tuple<C, B, QString> hints[] = {
      {C::Lower, B::Lower,
       (s ? QStringLiteral("Convert selected text to lowercase")
          : QStringLiteral("Convert all text to lowercase"))},
      {C::Upper, B::Upper,
       (s ? QStringLiteral("Convert selected text to UPPERCASE")
          : QStringLiteral("Convert all text to UPPERCASE"))},
      {C::ToggleCase, B::ToggleCase, QStringLiteral("tOGGLE cASE in ") + scope},
      {C::TitleCase, B::TitleCase, QStringLiteral("Capitalize each word in ") + scope},
  };
  for (const auto &[item, button, text] : hints) {
    setHint(Item(item), text);
    setHint(Button(button), text);
  }
  for (TfrmEdit *edit : EditWindows()) edit->appEventsIdle();
}

void TfrmMain::proAppAFormChange() {
  const bool d = !area_->subWindowList().isEmpty();
  for (const C c : {C::Tile, C::Cascade, C::ArrangeAll}) EnableCommand(Item(c), d);
  for (const TButton b : {TButton::Tile, TButton::Cascade, TButton::ArrangeAll})
    EnableCommand(Button(b), d);
  // The File items and the menus that work on a document show only while there is one.
  for (const C c : {C::Import, C::Close, C::Save, C::SaveAs, C::SendAsEmail, C::CustomizeEdit,
                    C::Print, C::Export})
    Item(c)->setVisible(d);
  for (const TMenu m : {TMenu::Edit, TMenu::Character, TMenu::Search})
    Menu(m)->menuAction()->setVisible(d);
  documentDivider_->setVisible(d);
  barECustom_->setVisible(d);
  const bool status = IsChecked(C::MainStatusBar);
  setHint(Item(C::MainStatusBar),
          status ? QStringLiteral("Disable status bar") : QStringLiteral("Enable status bar"));
  barMain()->setVisible(status);
  setHint(Item(C::AutomaticBackups), IsChecked(C::AutomaticBackups)
                                         ? QStringLiteral("Turn automatic backups off")
                                         : QStringLiteral("Turn automatic backups on"));
  buttonHints_ = IsChecked(C::ButtonHints);
  setHint(Item(C::ButtonHints), buttonHints_ ? QStringLiteral("Turn button hints off")
                                             : QStringLiteral("Turn button hints on"));
  setHint(Item(C::StayOnTop),
          IsChecked(C::StayOnTop)
              ? QStringLiteral("Allow ") + kProduct + QStringLiteral(" to float on the screen")
              : QStringLiteral("Keep ") + kProduct + QStringLiteral(" on top of all windows"));
}

// ---- events -----------------------------------------------------------------------------

bool TfrmMain::event(QEvent *event) {
  if (event->type() == QEvent::StatusTip) {
    // The hint line: a blank, then the status part of the hint.
    const QString tip = static_cast<QStatusTipEvent *>(event)->tip();
    barMain()->showMessage(tip.isEmpty() ? QString() : u' ' + tip);
    return true;
  }
  return QMainWindow::event(event);
}

bool TfrmMain::dropOnDocument(QObject *watched, QEvent *event) {
  const auto type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  bool inDocument = false;
  for (QObject *o = watched; o && !inDocument; o = o->parent())
    inDocument = qobject_cast<TRichEdit *>(o) != nullptr;
  auto *drop = static_cast<QDropEvent *>(event);
  const QMimeData *data = drop->mimeData();
  if (!inDocument || !data || !data->hasUrls()) return false;
  const QList<QUrl> urls = data->urls();
  if (std::none_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); }))
    return false;
  drop->acceptProposedAction();
  if (type == QEvent::Drop) ReportErrors(this, [&] { OpenDroppedFiles(urls); });
  return true;
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::ToolTip && !buttonHints_) return true;  // pop-up hints off
  if (dropOnDocument(watched, event)) return true;
  if (event->type() == QEvent::KeyPress) {
    // Alt with a key that is no mnemonic reaches the focused control as a key press; it must
    // not type there (the mnemonics themselves were shortcuts, handled before).
    const auto *key = static_cast<QKeyEvent *>(event);
    const auto modifiers = key->modifiers();
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) &&
        !key->text().isEmpty() && key->text().at(0).isPrint())
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::closeEvent(QCloseEvent *event) {
  // Ask the document windows one after another; the first refusal stops the exit and the
  // windows not yet asked stay open, unasked.
  RecoveryStartUp::ExitStarts(EditWindows());
  for (QMdiSubWindow *sub : area_->subWindowList(QMdiArea::CreationOrder)) {
    if (!sub->close()) {
      RecoveryStartUp::ExitCancelled(EditWindows());
      event->ignore();
      return;
    }
  }
  event->accept();
}

void TfrmMain::FormDestroy() {
  RecoveryStartUp::End();
  SaveFileLists();
  // The document windows go before the frame's own parts, which their last signals would reach.
  area_->disconnect(this);
  for (QMdiSubWindow *sub : area_->subWindowList()) {
    sub->disconnect(this);
    delete sub;
  }
  TIdleNotifier::Instance().disconnect(this);
  qApp->removeEventFilter(this);
  setAcceptDrops(false);
}
