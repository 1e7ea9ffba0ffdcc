// SPDX-License-Identifier: GPL-3.0-or-later
#include "fmMain.h"

#include "MenuText.h"

#include "CommandLine.h"
#include "Commands.h"
#include "Folders.h"
#include "RecoveryStartUp.h"
#include "FormStorage.h"
#include "FormTables.h"
#include "Glyphs.h"
#include "DocumentCommands.h"
#include "FileDialogs.h"
#include "HelpCommands.h"
#include "Holder.h"
#include "AbsSpellDialog.h"
#include "SpellDlg.h"
#include "WordForm.h"
#include "fmCustomize.h"
#include "IdleNotifier.h"
#include "MdiFrame.h"
#include "MessageBox.h"
#include "PanelStatusBar.h"
#include "ProductTexts.h"
#include "ReportErrors.h"
#include "RichEdit.h"
#include "RootKey.h"
#include "SystemIntegration.h"
#include "SystemUser.h"
#include "AccessibleNames.h"
#include "TipPanel.h"
#include "ToolButtonToggles.h"
#include "WinColor.h"
#include "fmEdit.h"

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

namespace {

const QString kProduct = ProductTexts::Name();
const QString kDefaultFilter = QStringLiteral(
    "Text Files (*.TXT)|*.txt|Initialization Files (*.INI)|*.ini|HTML Files (*.HTM;*HTML)|*.htm;*.html|All Files (*.*)|*.*");
const QString kUntitled = ProductTexts::Untitled();

// The setting holders; their defaults are those of the "Main Form" table, which the settings
// store assigns as soon as it is given the table.
const char *const kHolders[] = {
    "FilePath",   "lblFilter",  "EditDisplay", "lblDate",      "lblTime",       "SMTPHost",
    "SMTPPort",   "SMTPUserID", "SMTPUEmail",  "SMTPREMail",   "SMTPName",      "SMTPOrg",
    "SMTPBCC",    "SMTPReminder", "SMTPSigCheck", "SMTPSignature", "ImportPath", "ExportPath",
    "lblIFilter", "lblEFilter", "PTemplate",   "PrintFont",    "FirstTime",     "ShowMRU",
    "ShowFavFiles", "SMTPSecurity", "SMTPLogin",
};

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
  integration_ = new TSystemIntegration(Action(QStringLiteral("mniSetDefault")), this);
  connect(Menu(QStringLiteral("mniOptions")), &QMenu::aboutToShow, integration_, &TSystemIntegration::mniOptionsClick);
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
  for (const char *name : kHolders) {
    auto *holder = new THolder(QString::fromLatin1(name), this);
    holders_.insert(holder->objectName(), holder);
  }
}

void TfrmMain::setHint(QAction *action, const QString &hint) {
  const auto parts = Commands::SplitHint(hint);
  action->setToolTip(parts.popup);
  action->setStatusTip(parts.status);
  action->setProperty("hint", hint);
}

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
    actions_.insert(action->objectName(), action);
  }
  for (const TPopupTwin &def : Commands::PopupTwins()) {
    const QAction *twin = Action(QString::fromLatin1(def.twin));
    auto *action = new QAction(twin->icon(), twin->text(), this);
    action->setObjectName(QString::fromLatin1(def.name));
    action->setProperty("tag", twin->property("tag"));
    setHint(action, twin->property("hint").toString());
    if (def.showsKey) {
      // Shown as a label only: the menu bar's item owns the key.
      action->setShortcut(twin->shortcut());
      action->setShortcutContext(Qt::WidgetShortcut);
    }
    actions_.insert(action->objectName(), action);
  }
  auto makeGroup = [this](std::initializer_list<const char *> names) {
    auto *group = new QActionGroup(this);
    group->setExclusive(true);
    for (const char *n : names) group->addAction(Action(QString::fromLatin1(n)));
  };
  makeGroup({"mniLeft", "mniRight", "mniCenter"});
  makeGroup({"mniExplore", "mniStandard"});
  Action(QStringLiteral("mniLeft"))->setChecked(true);
  Action(QStringLiteral("sysNotepad"))->setFont([] {
    QFont f;
    f.setBold(true);
    return f;
  }());
}

void TfrmMain::createMenus() {
  // Submenus first, so the menus that hold them find them.
  const auto defs = Commands::Menus();
  for (auto it = defs.rbegin(); it != defs.rend(); ++it) {
    const TMenuDef &def = *it;
    auto *menu = new QMenu(QString::fromUtf8(def.caption), this);
    menu->setObjectName(QString::fromLatin1(def.name));
    menu->setToolTipsVisible(false);
    // Assistive technology names a menu by its caption, or by its hint when it has none.
    menu->setAccessibleName(*def.caption ? menu->title().remove(u'&') : QString::fromUtf8(def.hint));
    for (const char *entry : def.entries) {
      const QString e = QString::fromLatin1(entry);
      if (e.startsWith(u'-')) {
        QAction *sep = menu->addSeparator();
        if (e.size() > 1) {
          sep->setObjectName(e.mid(1));
          actions_.insert(sep->objectName(), sep);
        }
      } else if (e.startsWith(u'>')) {
        QMenu *sub = menus_.value(e.mid(1));
        QAction *item = Action(e.mid(1));
        sub->menuAction()->setObjectName(e.mid(1));
        sub->setIcon(item->icon());
        setHint(sub->menuAction(), item->property("hint").toString());
        actions_.insert(e.mid(1), sub->menuAction());
        delete item;
        menu->addMenu(sub);
      } else {
        menu->addAction(Action(e));
      }
    }
    menus_.insert(menu->objectName(), menu);
  }
  for (const TMenuDef &def : defs.first(7)) {
    QMenu *menu = menus_.value(QString::fromLatin1(def.name));
    menuBar()->addMenu(menu);
    menu->menuAction()->setObjectName(menu->objectName());
    setHint(menu->menuAction(), QString::fromUtf8(def.hint));
    actions_.insert(menu->objectName(), menu->menuAction());
  }
  menuBar()->setObjectName(QStringLiteral("mnuMain"));
  connect(Menu(QStringLiteral("mniWindow")), &QMenu::aboutToShow, this, &TfrmMain::rebuildWindowList);
}

void TfrmMain::createToolBars() {
  const TGlyphList &glyphs = TGlyphList::Shared();
  auto build = [&](const char *name, std::span<const TButtonDef> buttons,
                   std::span<const char *const> shown) {
    auto *bar = new QToolBar(this);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setFixedHeight(29);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setToolTip(QString());
    bar->setStatusTip(QStringLiteral("Right-click for tool bar options"));
    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this, [this, bar](const QPoint &at) {
      Menu(QStringLiteral("pumToolBar"))->popup(bar->mapToGlobal(at));
    });
    for (const TButtonDef &def : buttons) {
      QAction *command = Action(QString::fromLatin1(def.command));
      auto *button = new QAction(glyphs.Icon(def.glyph), QString::fromUtf8(def.caption), this);
      button->setObjectName(QString::fromLatin1(def.name));
      button->setProperty("tag", command->property("tag"));
      button->setProperty("section", QString::fromLatin1(def.section));
      button->setProperty("command", command->objectName());
      setHint(button, QString::fromUtf8(def.hint));
      actions_.insert(button->objectName(), button);
    }
    for (const char *n : shown) bar->addAction(Action(QString::fromLatin1(n)));
    for (QAction *a : bar->actions())
      if (auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(a))) b->setFixedSize(24, 23);
    addToolBar(Qt::TopToolBarArea, bar);
    ToolButtonToggles::RunCommandsOnToggle(bar);
    return bar;
  };
  barMCustom_ = build("barMCustom", Commands::MainButtons(), Commands::MainDefaultButtons());
  addToolBarBreak(Qt::TopToolBarArea);
  barECustom_ = build("barECustom", Commands::EditButtons(), Commands::EditDefaultButtons());
  auto *align = new QActionGroup(this);
  for (const char *n : {"btnLeft", "btnRight", "btnCenter"}) {
    QAction *b = Action(QString::fromLatin1(n));
    b->setCheckable(true);
    align->addAction(b);
  }
  Action(QStringLiteral("btnLeft"))->setChecked(true);
}

void TfrmMain::createTipPanel() {
  pnlTip_ = new TTipPanel(Folders::ProgramFolder() + QStringLiteral("tips.txt"), this);
}

void TfrmMain::createTray() {
  QIcon icon = QIcon::fromTheme(QStringLiteral("vellumix"), QIcon(QStringLiteral(":/vellumix/vellumix.png")));
  setWindowIcon(icon);
  QApplication::setWindowIcon(icon);
  traIcon_ = new QSystemTrayIcon(icon, this);
  traIcon_->setObjectName(QStringLiteral("traIcon"));
  traIcon_->setContextMenu(Menu(QStringLiteral("traMenu")));
  traIcon_->setToolTip(kProduct);
  connect(traIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) RestoreFromTray();
  });
  if (QSystemTrayIcon::isSystemTrayAvailable()) traIcon_->show();
}

void TfrmMain::connectCommands() {
  // Each item runs the handler its table row names; an item without one stays disabled.
  // Items made at run time (recent and favourite files, the window list) connect themselves.
  // An error that ends a command is reported here and the program goes on.
  for (QAction *action : std::as_const(actions_)) {
    if (action->isSeparator() || !Commands::Find(action->objectName())) continue;
    if (action->menu()) {
      action->setProperty("handled", true);  // opens its submenu
      continue;
    }
    const TCommandHandler handler = Commands::HandlerOf(action->objectName());
    action->setProperty("handled", handler != nullptr);
    if (!handler) {
      action->setEnabled(false);
      continue;
    }
    connect(action, &QAction::triggered, this,
            [this, action, handler] {
              ReportErrors(this, [&] { handler(*this, action->property("tag").toInt()); });
            });
  }
}

void TfrmMain::EnableCommand(QAction *action, bool on) {
  if (action) action->setEnabled(on && action->property("handled").toBool());
}

// ---- lookup -----------------------------------------------------------------------------

QAction *TfrmMain::Action(const QString &name) const { return actions_.value(name); }
QMenu *TfrmMain::Menu(const QString &name) const { return menus_.value(name); }
THolder *TfrmMain::Holder(const QString &name) const { return holders_.value(name); }
QStatusBar *TfrmMain::barMain() const { return statusBar(); }
QMenu *TfrmMain::PopupMenu() const { return Menu(QStringLiteral("pumPopup")); }
QString TfrmMain::OpenFilter() const {
  const QString filter = dlgOpen_->Filter();
  return filter.isEmpty() ? kDefaultFilter : filter;
}
QString TfrmMain::FilePath() const { return Holder(QStringLiteral("FilePath"))->Caption(); }
QString TfrmMain::EditDisplay() const { return Holder(QStringLiteral("EditDisplay"))->Caption(); }
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
  for (const char *name : {"FilePath", "ImportPath", "ExportPath"}) {
    THolder *holder = Holder(QString::fromLatin1(name));
    if (holder->Caption().isEmpty()) holder->SetCaption(Folders::Home());
  }
  // The names not yet entered are replaced first, so that the set-up wizard shows them.
  const QString fullName = SystemUser::FullName();
  if (Holder(QStringLiteral("SMTPName"))->Caption() == QLatin1String("Temp") && !fullName.isEmpty())
    Holder(QStringLiteral("SMTPName"))->SetCaption(fullName);
  if (Holder(QStringLiteral("SMTPOrg"))->Caption() == QLatin1String("Temp"))
    Holder(QStringLiteral("SMTPOrg"))->SetCaption(QString());
  if (Holder(QStringLiteral("FirstTime"))->Checked() && SetupWizard) SetupWizard();
  Holder(QStringLiteral("FirstTime"))->SetChecked(false);
  SetProductTexts();
  UpdateMainMenus();
  proAppAFormChange();
  pnlTip_->setVisible(IsChecked(QStringLiteral("mniTip")));
  area_->setBackground(WinColor::ToQColor(Holder(QStringLiteral("SMTPHost"))->Color()));
  if (commandFiles_.isEmpty()) NewWorkspace();
  for (const QString &file : commandFiles_) OpenFile(file);
  helpFile_ = Folders::ProgramFolder() + QStringLiteral("velx96.hlp");
  pnlTip_->proChangeTips();
  if (IsChecked(QStringLiteral("mniStayOnTop")))
    TopMostOn();
  else
    TopMostOff();
  RecoveryStartUp::Begin(this, {Action(QStringLiteral("mniReopenSession")), [this] { return NewWorkspace(); },
                                [this](const QString &file) { return OpenFile(file); }});
}

void TfrmMain::UpdateMainMenus() {
  const bool flat = IsChecked(QStringLiteral("mniExplore"));
  for (QToolBar *bar : {barMCustom_, barECustom_})
    for (QAction *a : bar->actions())
      if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a))) button->setAutoRaise(flat);
}

void TfrmMain::SetProductTexts() {
  auto hint = [this](const char *name, const QString &text) { setHint(Action(QString::fromLatin1(name)), text); };
  const QString whatsNew = QStringLiteral("What's new in this version of ") + kProduct;
  const QString download = QStringLiteral("Download the latest version of ") + kProduct + QStringLiteral("...");
  const QString about = QStringLiteral("About ") + kProduct + QStringLiteral("...");
  const QString exit = QStringLiteral("Exit ") + kProduct;
  const QString prefs = QStringLiteral("Set ") + kProduct + QStringLiteral(" preferences...");
  hint("mniWhatsNew", whatsNew);
  hint("btnWhatsNew", whatsNew);
  hint("mniDownload", download);
  hint("btnLVersion", download);
  Action(QStringLiteral("mniAbout"))->setText(about);
  hint("mniAbout", about);
  Action(QStringLiteral("btnAbout"))->setText(QStringLiteral("About ") + kProduct);
  hint("btnAbout", about);
  Action(QStringLiteral("btnExit"))->setText(exit);
  hint("btnExit", exit);
  hint("mniExit", exit);
  hint("btnOptions", prefs);
  hint("mniPreferences", prefs);
  Action(QStringLiteral("sysNotepad"))->setText(kProduct + QStringLiteral("..."));
  hint("sysNotepad", QStringLiteral("Restore ") + kProduct + QStringLiteral("..."));
  hint("sysAbout", about);
  hint("sysExit", exit);
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

void TfrmMain::createFileListItems() {
  auto fill = [this](const QString &submenu, const QString &prefix, const QString &divider) {
    QMenu *menu = Menu(submenu);
    for (int n = 0; n < TFileLists::MaxEntries; ++n) {
      if (n == 4) {
        QAction *sep = menu->addSeparator();
        sep->setObjectName(divider);
        sep->setVisible(false);
        actions_.insert(divider, sep);
      }
      auto *item = menu->addAction(QString());
      item->setObjectName(prefix + QString::number(n + 1));
      item->setProperty("tag", n);
      item->setVisible(false);
      actions_.insert(item->objectName(), item);
    }
  };
  fill(QStringLiteral("mniReopen"), QStringLiteral("mniMRU"), QStringLiteral("mniMRUDiv"));
  fill(QStringLiteral("mniFavFiles"), QStringLiteral("mniFav0"), QStringLiteral("mniFavDiv"));
  for (int n = 0; n < TFileLists::MaxEntries; ++n) {
    QAction *recent = Action(QStringLiteral("mniMRU%1").arg(n + 1));
    connect(recent, &QAction::triggered, this, [this, recent] {
      ReportErrors(this, [&] { RunMRU(recent->data().toString(), recent->property("tag").toInt()); });
    });
    QAction *favorite = Action(QStringLiteral("mniFav0%1").arg(n + 1));
    connect(favorite, &QAction::triggered, this, [this, favorite] {
      ReportErrors(this, [&] { RunFav(favorite->data().toString(), favorite->property("tag").toInt()); });
    });
  }
  connect(Menu(QStringLiteral("mniFile")), &QMenu::aboutToShow, this, [this] {
    ShowRecentMenu();
    ShowFavoriteMenu();
  });
  // The items' hints are set when their submenu opens.
  connect(Menu(QStringLiteral("mniReopen")), &QMenu::aboutToShow, this, [this] {
    for (int n = 1; n <= TFileLists::MaxEntries; ++n) {
      QAction *item = Action(QStringLiteral("mniMRU%1").arg(n));
      setHint(item, QStringLiteral("Reopen ") + item->data().toString());
    }
  });
  connect(Menu(QStringLiteral("mniFavFiles")), &QMenu::aboutToShow, this, [this] {
    for (int n = 1; n <= TFileLists::MaxEntries; ++n) {
      QAction *item = Action(QStringLiteral("mniFav0%1").arg(n));
      setHint(item, QStringLiteral("Open ") + item->data().toString());
    }
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

void TfrmMain::showFileListMenu(const QStringList &list, const QString &itemPrefix, const QString &divider,
                                const QString &submenu, const QString &showHolder) {
  int shown = 0;
  for (int n = 0; n < TFileLists::MaxEntries; ++n) {
    QAction *item = Action(itemPrefix + QString::number(n + 1));
    const QString entry = list.value(n);
    item->setVisible(!entry.isEmpty());
    // Paths keep their case here: a lower-cased path names another file.
    item->setText(MenuText::Literal(entry));
    item->setData(entry);
    shown += !entry.isEmpty();
  }
  Action(divider)->setVisible(Action(itemPrefix + QStringLiteral("5"))->isVisible());
  Action(submenu)->setVisible(shown > 0 && Holder(showHolder)->Checked());
}

void TfrmMain::ShowRecentMenu() {
  showFileListMenu(fileLists_.Recent(), QStringLiteral("mniMRU"), QStringLiteral("mniMRUDiv"),
                   QStringLiteral("mniReopen"), QStringLiteral("ShowMRU"));
}

void TfrmMain::ShowFavoriteMenu() {
  showFileListMenu(fileLists_.Favorites(), QStringLiteral("mniFav0"), QStringLiteral("mniFavDiv"),
                   QStringLiteral("mniFavFiles"), QStringLiteral("ShowFavFiles"));
}

bool TfrmMain::reportMissing(const QString &path) {
  if (QFileInfo(path).isFile()) return false;
  MessageBox::Show(this, MessageBox::MsgHeader() + path + QStringLiteral(" no longer exists on this computer!"),
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
  dlgOpen_->SetFilterIndex(Holder(QStringLiteral("lblFilter"))->Caption().toInt());
  FileDialogs::SetFilters(dialog, OpenFilter(), dlgOpen_->FilterIndex());
  const bool accepted = dialog.exec() == QDialog::Accepted;
  if (const int chosen = FileDialogs::ChosenIndex(dialog, OpenFilter()); chosen > 0) dlgOpen_->SetFilterIndex(chosen);
  if (accepted && !dialog.selectedFiles().isEmpty()) {
    const QString name = dialog.selectedFiles().first();
    OpenFile(name);
    SetFilePath(Folders::FolderOf(QFileInfo(name).absoluteFilePath()));
  }
  TopMostOn();
}

void TfrmMain::SetFilePath(const QString &folder) { Holder(QStringLiteral("FilePath"))->SetCaption(folder); }

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
  for (const TButtonDef &def : buttons) all << Action(QString::fromLatin1(def.name));
  TfrmCustomize dialog(bar, all, this);
  dialog.exec();
  UpdateMainMenus();
}

TSaveSettings TfrmMain::SaveSettings() {
  TSaveSettings settings;
  settings.makeBackup = IsChecked(QStringLiteral("mniAutomaticBackups"));
  settings.folder = FilePath();
  settings.filter = OpenFilter();
  settings.filterIndex = Holder(QStringLiteral("lblFilter"))->Caption().toInt();
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
  static const char *const kSuffix[] = {"Left", "Right", "Center"};
  if (tag < 0 || tag > 2) return;
  Action(QStringLiteral("mni") + QLatin1String(kSuffix[tag]))->setChecked(true);
  Action(QStringLiteral("btn") + QLatin1String(kSuffix[tag]))->setChecked(true);
  if (TfrmEdit *active = ActiveEdit()) CharacterCommands::Align(*active->mmoMemo(), tag);
}

void TfrmMain::ApplyWordWrap() {
  CharacterCommands::SetWordWrap(EditWindows(), IsChecked(QStringLiteral("mniWordWrap")), this);
}

void TfrmMain::InsertDateTime() {
  if (TfrmEdit *active = ActiveEdit())
    CharacterCommands::InsertDateTime(*active->mmoMemo(), Holder(QStringLiteral("lblDate"))->Caption(),
                                      Holder(QStringLiteral("lblTime"))->Caption());
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
    case 0: MdiFrame::TileHorizontally(area_); break;
    case 1: MdiFrame::Cascade(area_); break;
    case 2: MdiFrame::ArrangeIcons(area_); break;
    default: break;
  }
}

void TfrmMain::rebuildWindowList() {
  QMenu *menu = Menu(QStringLiteral("mniWindow"));
  qDeleteAll(windowListActions_);
  windowListActions_.clear();
  const auto subs = area_->subWindowList(QMdiArea::CreationOrder);
  if (subs.isEmpty()) return;
  windowListActions_ << menu->addSeparator();
  int number = 1;
  for (QMdiSubWindow *sub : subs) {
    auto *item = menu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(MenuText::Literal(sub->windowTitle())));
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
  integration_->ApplyWinStart(IsChecked(QStringLiteral("mniWinStart")));
  proAppAFormChange();  // hints, status bar and pop-up hints
  pnlTip_->setVisible(IsChecked(QStringLiteral("mniTip")));
  if (IsChecked(QStringLiteral("mniStayOnTop")))
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

void TfrmMain::TopMostOn() { applyTopMost(IsChecked(QStringLiteral("mniStayOnTop"))); }

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
  const bool go = MessageBox::Show(this, question, TMsgKind::Information, TMsgButtons::YesNo) == TMsgResult::Yes;
  bool connected = true;
  if (go && Holder(QStringLiteral("SMTPReminder"))->Checked())
    connected = MessageBox::Show(this, MessageBox::MsgHeader() + QStringLiteral("Are you connected to the Internet?"),
                                 TMsgKind::Information, TMsgButtons::YesNo) == TMsgResult::Yes;
  if (go && connected) QDesktopServices::openUrl(url);
  TopMostOn();
}

// ---- refresh ----------------------------------------------------------------------------

void TfrmMain::proAppIdle() {
  auto enable = [this](std::initializer_list<const char *> names, bool on) {
    for (const char *n : names) EnableCommand(Action(QString::fromLatin1(n)), on);
  };
  const QMimeData *clip = QApplication::clipboard()->mimeData();
  const bool p = clip && clip->hasText();
  enable({"mniPaste", "puiPaste", "btnPaste", "mniPasteSpecial", "puiPasteSpecial"}, p);

  TfrmEdit *active = ActiveEdit();
  TUndoKind u = TUndoKind::Unknown, r = TUndoKind::Unknown;
  bool cu = false, cr = false, s = false, n = false;
  if (active) {
    TRichEdit *memo = active->mmoMemo();
    EnableCommand(Action(QStringLiteral("mniFile0")), active->Caption() == kUntitled);
    u = memo->UndoKind();
    cu = memo->CanUndo();
    r = memo->RedoKind();
    cr = memo->CanRedo();
    s = memo->SelLength() > 0;
    n = memo->PositionCount() > 0;
    const char *down = memo->Alignment() == TTextAlignment::Right    ? "Right"
                       : memo->Alignment() == TTextAlignment::Center ? "Center"
                                                                     : "Left";
    Action(QStringLiteral("btn") + QLatin1String(down))->setChecked(true);
    Action(QStringLiteral("mni") + QLatin1String(down))->setChecked(true);
  }
  static const char *const kKinds[] = {"", " Typing", " Delete", " Drag Drop", " Cut", " Paste"};
  const QString undo = QStringLiteral("&Undo") + QLatin1String(kKinds[int(u)]);
  const QString redo = QStringLiteral("&Redo") + QLatin1String(kKinds[int(r)]);
  for (const char *name : {"mniUndo", "puiUndo"}) Action(QString::fromLatin1(name))->setText(undo);
  for (const char *name : {"mniRedo", "puiRedo"}) Action(QString::fromLatin1(name))->setText(redo);
  for (const char *name : {"mniUndo", "puiUndo", "btnUndo"}) setHint(Action(QString::fromLatin1(name)), undo.mid(1));
  for (const char *name : {"mniRedo", "puiRedo", "btnRedo"}) setHint(Action(QString::fromLatin1(name)), redo.mid(1));
  enable({"mniUndo", "puiUndo", "btnUndo"}, cu);
  enable({"mniRedo", "puiRedo", "btnRedo"}, cr);
  enable({"mniCut", "mniCopy", "mniDelete", "puiCut", "puiCopy", "puiDelete", "btnCut", "btnCopy", "btnDelete",
          "mniCapitalize", "btnCapitalize"},
         s);
  enable({"mniSelectAll", "puiSelectAll", "btnSelectAll", "mniFile6", "mniPPreview", "mniFind", "mniFindNext",
          "mniReplace", "puiFind", "puiFindNext", "puiReplace", "btnFind", "btnFindNext", "btnReplace",
          "mniConvert", "btnLower", "btnUpper", "btnTitleCase", "btnTogCase", "mniSpell", "btnSpell",
          "mniWordCount"},
         n);
  const QString scope = s ? QStringLiteral("selected text") : QStringLiteral("all text");
  const std::pair<const char *, QString> hints[] = {
      {"Lower", (s ? QStringLiteral("Convert selected text to lowercase") : QStringLiteral("Convert all text to lowercase"))},
      {"Upper", (s ? QStringLiteral("Convert selected text to UPPERCASE") : QStringLiteral("Convert all text to UPPERCASE"))},
      {"TogCase", QStringLiteral("tOGGLE cASE in ") + scope},
      {"TitleCase", QStringLiteral("Capitalize each word in ") + scope},
  };
  for (const auto &[suffix, text] : hints) {
    setHint(Action(QStringLiteral("mni") + QLatin1String(suffix)), text);
    setHint(Action(QStringLiteral("btn") + QLatin1String(suffix)), text);
  }
  for (TfrmEdit *edit : EditWindows()) edit->appEventsIdle();
}

void TfrmMain::proAppAFormChange() {
  const bool d = !area_->subWindowList().isEmpty();
  for (const char *n : {"mniWin0", "mniWin1", "mniWin2", "btnWin0", "btnWin1", "btnWin2"})
    EnableCommand(Action(QString::fromLatin1(n)), d);
  for (int i = 0; i <= 11; ++i)
    if (QAction *a = Action(QStringLiteral("mniFile%1").arg(i))) a->setVisible(d);
  barECustom_->setVisible(d);
  const bool status = IsChecked(QStringLiteral("mniMainStatusBar"));
  setHint(Action(QStringLiteral("mniMainStatusBar")),
          status ? QStringLiteral("Disable status bar") : QStringLiteral("Enable status bar"));
  barMain()->setVisible(status);
  setHint(Action(QStringLiteral("mniAutomaticBackups")), IsChecked(QStringLiteral("mniAutomaticBackups"))
                                                              ? QStringLiteral("Turn automatic backups off")
                                                              : QStringLiteral("Turn automatic backups on"));
  buttonHints_ = IsChecked(QStringLiteral("mniButtonHints"));
  setHint(Action(QStringLiteral("mniButtonHints")),
          buttonHints_ ? QStringLiteral("Turn button hints off") : QStringLiteral("Turn button hints on"));
  setHint(Action(QStringLiteral("mniStayOnTop")),
          IsChecked(QStringLiteral("mniStayOnTop")) ? QStringLiteral("Allow ") + kProduct + QStringLiteral(" to float on the screen")
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
  for (QObject *o = watched; o && !inDocument; o = o->parent()) inDocument = qobject_cast<TRichEdit *>(o) != nullptr;
  auto *drop = static_cast<QDropEvent *>(event);
  const QMimeData *data = drop->mimeData();
  if (!inDocument || !data || !data->hasUrls()) return false;
  const QList<QUrl> urls = data->urls();
  if (std::none_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); })) return false;
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
    if ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier) && !key->text().isEmpty() &&
        key->text().at(0).isPrint())
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
