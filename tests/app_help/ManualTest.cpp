// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>

#include "AppFixture.h"
#include "documents/recovery/RecoveryRecord.h"
#include "documents/recovery/RecoveryStore.h"
#include "documents/recovery/fmRecover.h"
#include "mail/ui/fmAEmail.h"
#include "platform/help/HelpKeyFilter.h"
#include "platform/help/QtHelpSource.h"
#include "preferences/PageManager.h"
#include "preferences/fmSetup.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/SpellDlg.h"

namespace {

// The captions a user reads in a window: labels that name a field, buttons, check boxes,
// group titles, page tabs and the items of its own menus and tool bars.
QStringList Captions(QWidget *window) {
  QStringList captions;
  auto add = [&](QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    text = text.trimmed();
    while (text.endsWith(u':') || text.endsWith(u'.')) text.chop(1);
    text = text.trimmed();
    if (text.size() > 1 &&
        std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }) &&
        !captions.contains(text))
      captions << text;
  };
  auto addShown = [&] {
    for (QLabel *label : window->findChildren<QLabel *>())
      if (label->isVisibleTo(window) && label->text().trimmed().endsWith(u':')) add(label->text());
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>())
      if (button->isVisibleTo(window) && !button->text().isEmpty()) add(button->text());
    for (QGroupBox *group : window->findChildren<QGroupBox *>())
      if (group->isVisibleTo(window)) add(group->title());
  };
  addShown();
  // Every page of a notebook, as the user would turn to it.
  for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
    const int shown = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
      add(tabs->tabText(i));
      tabs->setCurrentIndex(i);
      addShown();
    }
    tabs->setCurrentIndex(shown);
  }
  for (QToolBar *bar : window->findChildren<QToolBar *>())
    for (QAction *action : bar->actions())
      if (!action->isSeparator() && action->isVisible()) add(action->text());
  return captions;
}

// The plain text of the topic F1 opens in a window: the whole page its section is on.
QString TopicText(QWidget *window, THelpSource &help, QString *id) {
  QList<THelpTopic> topics;
  THelpKeyFilter filter([&](const QString &candidate) {
    topics = help.ForId(candidate);
    if (!topics.isEmpty()) *id = candidate;
    return !topics.isEmpty();
  });
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  static_cast<QObject &>(filter).eventFilter(window, &f1);
  if (topics.isEmpty()) return {};
  QTextDocument page;
  page.setHtml(QString::fromUtf8(help.Data(topics.first().url.adjusted(QUrl::RemoveFragment))));
  return page.toPlainText().simplified();
}

// The controls of a window that assistive technology cannot name.
QStringList Unnamed(QWidget *window) {
  QStringList unnamed;
  auto check = [&] {
    for (QWidget *control : window->findChildren<QWidget *>()) {
      const bool input =
          qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
          qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
          qobject_cast<QAbstractItemView *>(control) || qobject_cast<QPlainTextEdit *>(control) ||
          qobject_cast<QTextEdit *>(control);
      if (!input || !control->isVisibleTo(window) || control->focusPolicy() == Qt::NoFocus)
        continue;
      // Inner parts of composite controls (a spin box's line, a combo box's list) are named by
      // their owner.
      if (qobject_cast<QAbstractSpinBox *>(control->parentWidget()) ||
          qobject_cast<QComboBox *>(control->parentWidget()))
        continue;
      QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
      const QString name = face ? face->text(QAccessible::Name).remove(u'&').trimmed() : QString();
      const QString entry =
          QString::fromLatin1(control->metaObject()->className()) + u' ' + control->objectName();
      if (name.isEmpty() && !unnamed.contains(entry)) unnamed << entry;
    }
  };
  check();
  for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
    const int shown = tabs->currentIndex();
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      check();
    }
    tabs->setCurrentIndex(shown);
  }
  return unnamed;
}

// Calls back with each window as it shows (windows that do not hold the program, as well).
class TShowWatch : public QObject {
 public:
  explicit TShowWatch(std::function<void(QWidget *)> shown) : shown_(std::move(shown)) {
    qApp->installEventFilter(this);
  }
  ~TShowWatch() override { qApp->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow()) {
      QPointer<QWidget> window = static_cast<QWidget *>(watched);
      // After the show has finished, from the event loop the window's owner waits in.
      QTimer::singleShot(0, this, [this, window] {
        if (window && window->isVisible()) shown_(window);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void(QWidget *)> shown_;
};

// Checks windows against the topics F1 opens in them and gathers what is missing.
class TTopicCheck {
 public:
  explicit TTopicCheck(THelpSource &help) : help_(help) {}

  void operator()(const QString &command, QWidget *window) {
    if (qobject_cast<QMessageBox *>(window)) return;  // a question or a notice: no topic of its own
    for (const QString &control : Unnamed(window))
      missing << command + QStringLiteral(": no accessible name: ") + control;
    QString id;
    const QString topic = TopicText(window, help_, &id);
    if (topic.isEmpty()) {
      missing << command + QStringLiteral(": no topic for ") +
                     QString::fromLatin1(window->metaObject()->className());
      return;
    }
    ++checked;
    if (qEnvironmentVariableIsSet("VELLUMIX_LIST_CAPTIONS"))
      fprintf(stderr, "%s %s: %s\n", qPrintable(command), qPrintable(id),
              qPrintable(Captions(window).join(QStringLiteral(" | "))));
    for (const QString &caption : Captions(window))
      if (!topic.contains(caption.simplified(), Qt::CaseInsensitive))
        missing << command + u'(' + id + QStringLiteral("): \"") + caption + u'"';
  }

  QStringList missing;
  int checked = 0;  // windows whose topic was found

 private:
  THelpSource &help_;
};

}  // namespace

// Every window a command opens has a topic that names every caption the user reads in it.
TEST_F(AppFixture, EveryWindowsTopicDescribesEveryCaptionInIt) {
  TfrmMain &m = Start();
  TQtHelpSource help(m.HelpFile());
  // Text to work on, so that the commands that need some are enabled.
  m.ActiveEdit()->mmoMemo()->SetText(QStringLiteral("Some text to find, count and print.\n"));
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  Settle();
  ASSERT_EQ(help.Error(), QString());
  TTopicCheck check(help);
  bool addressBook = false;
  auto checkWindow = [&](const QString &command, QWidget *window) {
    check(command, window);
    // The e-mail window's address button opens the address book over it.
    if (auto *address = window->findChild<QAbstractButton *>(QStringLiteral("btnEmailAddress"))) {
      TShowWatch book([&](QWidget *shown) {
        if (auto *dialog = qobject_cast<TfrmAEmail *>(shown)) {
          addressBook = true;
          check(command + QStringLiteral(" address book"), dialog);
          dialog->reject();
        }
      });
      address->click();
    }
  };
  const char *const commands[] = {
      "mniPreferences", "mniFind",    "mniReplace", "mniPasteSpecial", "mniWordCount", "mniSpecial",
      "puiProperties",  "mniMCustom", "mniFile5",   "mniPCustom",      "mniPPreview",  "mniFile4",
      "mniAbout",       "mniTech",    "mniFile0",   "mniFile11",       "mniPrintSetup"};
  for (const char *name : commands) {
    QAction *action = m.Action(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    if (!action->isEnabled()) {
      check.missing << QString::fromLatin1(name) + QStringLiteral(": disabled");
      continue;
    }
    const QWidgetList before = QApplication::topLevelWidgets();
    TModalAnswerer answerer;
    answerer.onShown = [&](QWidget *modal) { checkWindow(QString::fromLatin1(name), modal); };
    action->trigger();
    Settle();
    // Windows that stay open without holding the program (find, special characters).
    for (QWidget *window : QApplication::topLevelWidgets())
      if (!before.contains(window) && window->isVisible() && !qobject_cast<QMenu *>(window)) {
        checkWindow(QString::fromLatin1(name), window);
        window->close();
      }
  }
  EXPECT_TRUE(addressBook);
  EXPECT_TRUE(check.missing.isEmpty()) << check.missing.join(u'\n').toStdString();
}

// The spell dialog in each of its three styles, as Edit|Spell Check shows it at a misspelt word.
TEST_F(AppFixture, EachSpellDialogStylesTopicDescribesEveryCaptionInIt) {
  TfrmMain &m = Start();
  TQtHelpSource help(m.HelpFile());
  TRichEdit *memo = m.ActiveEdit()->mmoMemo();
  ASSERT_EQ(help.Error(), QString());
  TTopicCheck check(help);
  // The dialog is checked as it shows and then closed, which ends the check.
  TShowWatch watch([&](QWidget *window) {
    if (auto *dialog = qobject_cast<TAbsSpellDialog *>(window)) {
      check(QStringLiteral("mniSpell ") + QString::number(m.dlgSpell()->DialogStyle()), dialog);
      dialog->close();
    }
  });
  for (TSpellDlg::TDialogTypes style :
       {TSpellDlg::dtWordPerfect, TSpellDlg::dtMSWord, TSpellDlg::dtWordPro96}) {
    m.dlgSpell()->SetDialogStyle(style);
    m.dlgSpell()->SetLabelLanguage(TSpellDlg::lgEnglish);
    memo->SetText(QStringLiteral("the quick brwn fox"));
    memo->SetSelection(0, 0);
    Settle();
    TModalAnswerer answerer;  // the closing notice, should one come
    const int before = check.checked + int(check.missing.size());
    ASSERT_TRUE(m.Action(QStringLiteral("mniSpell"))->isEnabled());
    m.Action(QStringLiteral("mniSpell"))->trigger();
    Settle();
    EXPECT_GT(check.checked + int(check.missing.size()), before)
        << "no spell dialog in style " << style << ": " << answerer.texts.join(u'|').toStdString();
    memo->SetModified(false);
  }
  EXPECT_TRUE(check.missing.isEmpty()) << check.missing.join(u'\n').toStdString();
}

// The set-up wizard of the first start, every page as Next turns to it.
TEST_F(AppFixture, EverySetupWizardPageIsDescribedInItsTopic) {
  TfrmMain &m = Start();
  TQtHelpSource help(m.HelpFile());
  ASSERT_EQ(help.Error(), QString());
  TTopicCheck check(help);
  QStringList pages;
  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    auto *wizard = qobject_cast<TfrmSetup *>(modal);
    if (!wizard) return;
    for (;;) {
      pages << wizard->pagSetup->ActivePageName();
      check(QStringLiteral("Setup ") + pages.last(), wizard);
      if (!wizard->btnNext->isEnabled() || pages.size() > 10) break;
      wizard->btnNext->click();
    }
  };
  TfrmSetup::Run(m, m);
  EXPECT_EQ(pages, (QStringList{QStringLiteral("Start Setup"), QStringLiteral("Button Setup"),
                                QStringLiteral("Network Setup"), QStringLiteral("End Setup")}));
  EXPECT_TRUE(check.missing.isEmpty()) << check.missing.join(u'\n').toStdString();
}

// The Recover Documents window a start shows when the last run left documents behind.
TEST_F(AppFixture, TheRecoverDocumentsWindowIsDescribedInItsTopic) {
  {
    // A run that kept a document's text and never ended.
    TRecoveryStore dead;
    ASSERT_TRUE(dead.Ready()) << dead.Error().toStdString();
    TRecoveryRecord untitled;
    untitled.name = u' ' + QDir::homePath() + QStringLiteral("/untitled.txt");
    untitled.text = QStringLiteral("shopping\nmilk");
    untitled.changedMs = 1'765'000'000'000;
    dead.Write(dead.NewSlot(), untitled);
    dead.Flush();
  }
  std::unique_ptr<TQtHelpSource> help;
  std::unique_ptr<TTopicCheck> check;
  bool shown = false;
  TModalAnswerer answerer({QStringLiteral("Decide Later")});
  answerer.onShown = [&](QWidget *modal) {
    if (!qobject_cast<TfrmRecover *>(modal)) return;
    shown = true;
    help = std::make_unique<TQtHelpSource>(main->HelpFile());
    check = std::make_unique<TTopicCheck>(*help);
    (*check)(QStringLiteral("start"), modal);
  };
  Start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return shown && !QApplication::activeModalWidget(); }, 10000));
  ASSERT_TRUE(check);
  EXPECT_EQ(help->Error(), QString());
  EXPECT_TRUE(check->missing.isEmpty()) << check->missing.join(u'\n').toStdString();
}
