// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QClipboard>
#include <QMessageBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>

#include "AppFixture.h"
#include "HelpKeyFilter.h"
#include "QtHelpSource.h"

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
    if (text.size() > 1 && std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }) &&
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
      const bool input = qobject_cast<QAbstractButton *>(control) || qobject_cast<QLineEdit *>(control) ||
                         qobject_cast<QComboBox *>(control) || qobject_cast<QAbstractSpinBox *>(control) ||
                         qobject_cast<QAbstractItemView *>(control) || qobject_cast<QPlainTextEdit *>(control) ||
                         qobject_cast<QTextEdit *>(control);
      if (!input || !control->isVisibleTo(window) || control->focusPolicy() == Qt::NoFocus) continue;
      // Inner parts of composite controls (a spin box's line, a combo box's list) are named by
      // their owner.
      if (qobject_cast<QAbstractSpinBox *>(control->parentWidget()) || qobject_cast<QComboBox *>(control->parentWidget()))
        continue;
      QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
      const QString name = face ? face->text(QAccessible::Name).remove(u'&').trimmed() : QString();
      const QString entry = QString::fromLatin1(control->metaObject()->className()) + u' ' + control->objectName();
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
  QStringList missing;
  auto check = [&](const QString &command, QWidget *window) {
    if (qobject_cast<QMessageBox *>(window)) return;  // a question or a notice: no topic of its own
    for (const QString &control : Unnamed(window)) missing << command + QStringLiteral(": no accessible name: ") + control;
    QString id;
    const QString topic = TopicText(window, help, &id);
    if (topic.isEmpty()) {
      missing << command + QStringLiteral(": no topic for ") + QString::fromLatin1(window->metaObject()->className());
      return;
    }
    if (qEnvironmentVariableIsSet("VELLUMIX_LIST_CAPTIONS"))
      fprintf(stderr, "%s %s: %s\n", qPrintable(command), qPrintable(id), qPrintable(Captions(window).join(QStringLiteral(" | "))));
    for (const QString &caption : Captions(window))
      if (!topic.contains(caption.simplified(), Qt::CaseInsensitive))
        missing << command + u'(' + id + QStringLiteral("): \"") + caption + u'"';
  };
  const char *const commands[] = {"mniPreferences", "mniFind",     "mniReplace", "mniPasteSpecial",
                                  "mniWordCount",   "mniSpecial",  "puiProperties", "mniMCustom",
                                  "mniFile5",       "mniPCustom",  "mniPPreview", "mniFile4",
                                  "mniAbout",       "mniTech",     "mniFile0",    "mniFile11",
                                  "mniPrintSetup"};
  for (const char *name : commands) {
    QAction *action = m.Action(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    if (!action->isEnabled()) {
      missing << QString::fromLatin1(name) + QStringLiteral(": disabled");
      continue;
    }
    const QWidgetList before = QApplication::topLevelWidgets();
    TModalAnswerer answerer;
    answerer.onShown = [&](QWidget *modal) { check(QString::fromLatin1(name), modal); };
    action->trigger();
    Settle();
    // Windows that stay open without holding the program (find, special characters).
    for (QWidget *window : QApplication::topLevelWidgets())
      if (!before.contains(window) && window->isVisible() && !qobject_cast<QMenu *>(window)) {
        check(QString::fromLatin1(name), window);
        window->close();
      }
  }
  EXPECT_TRUE(missing.isEmpty()) << missing.join(u'\n').toStdString();
}
