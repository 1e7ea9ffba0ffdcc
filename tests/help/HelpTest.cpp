// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

#include "app/ui/Commands.h"
#include "documents/properties/fmProperties.h"
#include "platform/core/Folders.h"
#include "platform/help/HelpKeyFilter.h"
#include "platform/help/QtHelpSource.h"
#include "platform/help/fmHelp.h"

namespace {

QString HelpFile() { return Folders::ProgramFolder() + QStringLiteral("velx96.hlp"); }

std::unique_ptr<TfrmHelp> OpenViewer(const QString &file = HelpFile()) {
  return std::make_unique<TfrmHelp>(std::make_unique<TQtHelpSource>(file));
}

QString Page(const TfrmHelp &viewer) {
  const QUrl url = viewer.CurrentTopic();
  return url.fileName() + (url.hasFragment() ? u'#' + url.fragment() : QString());
}

}  // namespace

TEST(HelpFile, EveryCommandOfTheCommandTableHasATopic) {
  TQtHelpSource source(HelpFile());
  ASSERT_EQ(source.Error(), QString());
  int commands = 0;
  for (const TCommandDef &command : Commands::MenuItems()) {
    const QString name = QString::fromLatin1(command.name);
    const QList<THelpTopic> topics = source.ForId(name);
    ASSERT_FALSE(topics.isEmpty()) << command.name;
    // The topic is a section of its page that the page really holds.
    const QUrl url = topics.first().url;
    const QByteArray page = source.Data(url.adjusted(QUrl::RemoveFragment));
    ASSERT_TRUE(url.hasFragment()) << command.name;
    EXPECT_TRUE(page.contains(QByteArray("id=\"" + url.fragment().toLatin1() + "\"")))
        << command.name;
    ++commands;
  }
  EXPECT_GT(commands, 50);
}

TEST(HelpViewer, EachHelpContextOpensItsTopic) {
  auto viewer = OpenViewer();
  const QList<std::pair<int, QString>> contexts = {
      {1001, "character.html"},   {1002, "edit.html"},        {1004, "file.html"},
      {1005, "helpmenu.html"},    {1006, "options.html"},     {1007, "search.html"},
      {1008, "window.html"},      {2000, "workspace.html"},   {1000, "setup.html"},
      {1101, "mail.html"},        {1114, "preferences.html"}, {1117, "preferences.html"},
      {1137, "preferences.html"}, {1501, "mail.html"},        {1505, "mail.html"}};
  for (const auto &[context, page] : contexts) {
    EXPECT_TRUE(viewer->ShowContext(context)) << context;
    EXPECT_EQ(viewer->CurrentTopic().fileName(), page) << context;
    EXPECT_FALSE(viewer->Browser()->toPlainText().isEmpty()) << context;
  }
  EXPECT_FALSE(viewer->ShowContext(4711));
  EXPECT_TRUE(viewer->isVisible());
}

TEST(HelpViewer, ContentsIndexAndHowToUse) {
  auto viewer = OpenViewer();
  viewer->ShowContents();
  auto *tabs = viewer->findChild<QTabWidget *>();
  EXPECT_EQ(tabs->currentIndex(), TfrmHelp::tabContents);
  EXPECT_EQ(Page(*viewer), QStringLiteral("index.html"));
  auto *tree = viewer->findChild<QTreeWidget *>(QStringLiteral("tvContents"));
  ASSERT_GT(tree->topLevelItemCount(), 0);
  EXPECT_GT(tree->topLevelItem(0)->childCount(), 15);  // one chapter per menu and feature

  // The keyword index: typing the first letters finds the keyword, Enter opens its topic.
  viewer->ShowIndex();
  EXPECT_EQ(tabs->currentIndex(), TfrmHelp::tabIndex);
  QTest::keyClicks(viewer->IndexWord(), QStringLiteral("Spell Ch"));
  ASSERT_NE(viewer->IndexList()->currentItem(), nullptr);
  EXPECT_EQ(viewer->IndexList()->currentItem()->text(), QStringLiteral("Spell Check"));
  QTest::keyClick(viewer->IndexWord(), Qt::Key_Return);
  EXPECT_EQ(Page(*viewer), QStringLiteral("edit.html#mniSpell"));

  viewer->ShowHowToUse();
  EXPECT_EQ(Page(*viewer), QStringLiteral("viewer.html"));
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains(QStringLiteral("Search")));
}

TEST(HelpViewer, FullTextSearchFindsACommandsTopic) {
  auto viewer = OpenViewer();
  viewer->ShowSearch(QStringLiteral("bak"));
  QListWidget *results = viewer->SearchResults();
  QStringList titles;
  for (int row = 0; row < results->count(); ++row) titles << results->item(row)->text();
  EXPECT_TRUE(titles.contains(QStringLiteral("File menu"))) << titles.join(u'|').toStdString();
  EXPECT_TRUE(titles.contains(QStringLiteral("Options menu"))) << titles.join(u'|').toStdString();
  viewer->ShowSearch(QStringLiteral("xyzzyquux"));
  ASSERT_EQ(results->count(), 1);
  EXPECT_EQ(results->item(0)->text(), QStringLiteral("No topic contains these words."));
}

TEST(HelpViewer, MissingHelpFileIsReportedInTheWindow) {
  const QString missing = Folders::Home() + QStringLiteral("no-such.hlp");
  auto viewer = OpenViewer(missing);
  viewer->ShowContents();
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains(missing));
  EXPECT_FALSE(viewer->ShowContext(1001));
  viewer->ShowSearch(QStringLiteral("file"));
  EXPECT_EQ(viewer->SearchResults()->count(), 0);
}

TEST(HelpViewer, F1InADialogOpensThatDialogsTopic) {
  auto viewer = OpenViewer();
  THelpKeyFilter filter([&](const QString &id) { return viewer->ShowId(id); });
  qApp->installEventFilter(&filter);
  TfrmProperties dialog({QStringLiteral("untitled.txt"), 0, QStringLiteral("untitled.txt")},
                        QDateTime::currentDateTime(), QIcon());
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  QTest::keyClick(&dialog, Qt::Key_F1);
  qApp->removeEventFilter(&filter);
  EXPECT_EQ(Page(*viewer), QStringLiteral("properties.html#frmProperties"));
}

TEST(HelpViewer, ADamagedHelpCacheIsMadeAgainFromTheHelpFile) {
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                        QStringLiteral("/vellumix/help.qhc");
  QDir().mkpath(QFileInfo(cache).path());
  for (const QByteArray &junk :
       QList<QByteArray>{QByteArray("not a database at all\n").repeated(50),
                         QByteArray("SQLite format 3\0", 16) + QByteArray(3000, char(0xff))}) {
    {
      QFile file(cache);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
      file.write(junk);
    }
    auto viewer = OpenViewer();
    viewer->ShowContents();
    auto *tree = viewer->findChild<QTreeWidget *>(QStringLiteral("tvContents"));
    ASSERT_GT(tree->topLevelItemCount(), 0) << viewer->Browser()->toPlainText().toStdString();
    EXPECT_TRUE(viewer->ShowContext(1001));
    EXPECT_EQ(viewer->CurrentTopic().fileName(), QStringLiteral("character.html"));
  }
}

TEST(HelpViewer, F1InAModalDialogGivesAHelpWindowThatCanBeUsedAndOutlivesTheDialog) {
  auto viewer = OpenViewer();
  THelpKeyFilter filter([&](const QString &id) { return viewer->ShowId(id); });
  qApp->installEventFilter(&filter);
  QString typed;
  QString page;
  {
    TfrmProperties dialog({QStringLiteral("untitled.txt"), 0, QStringLiteral("untitled.txt")},
                          QDateTime::currentDateTime(), QIcon());
    QTimer::singleShot(0, &dialog, [&] {
      ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
      QTest::keyClick(&dialog, Qt::Key_F1);
      page = Page(*viewer);
      ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
      // Typed through the window system, as a user types: a window the dialog blocks gets nothing.
      viewer->ShowSearch();
      for (const char c : {'s', 'a', 'v', 'e'}) QTest::keyClick(viewer->windowHandle(), c);
      typed = viewer->SearchWords()->text();
      dialog.reject();
    });
    dialog.exec();
  }
  qApp->removeEventFilter(&filter);
  EXPECT_EQ(page, QStringLiteral("properties.html#frmProperties"));
  EXPECT_EQ(typed, QStringLiteral("save"));
  // The dialog is gone; the help window is still open, on its own.
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->parentWidget(), nullptr);
  EXPECT_TRUE(viewer->ShowContext(1001));
}

TEST(HelpViewer, F1InEachWindowOpensItsOwnSectionScrolledIntoView) {
  auto viewer = OpenViewer();
  THelpKeyFilter filter([&](const QString &id) { return viewer->ShowId(id); });
  qApp->installEventFilter(&filter);
  // Windows the filter knows by their class name.
  for (const auto &[id, page] : QList<std::pair<QString, QString>>{
           {QStringLiteral("TWordForm"), QStringLiteral("edit.html#mniWordCount")},
           {QStringLiteral("TfrmPreview"), QStringLiteral("printing.html#preview")},
           {QStringLiteral("TfrmDesigner"), QStringLiteral("printing.html#template")},
           {QStringLiteral("TfrmSpecialChar"), QStringLiteral("special.html#frmSpecialChar")}}) {
    ASSERT_TRUE(viewer->ShowId(id)) << id.toStdString();
    EXPECT_EQ(Page(*viewer), page);
  }
  // A section deep in a long page is scrolled to once the window is laid out.
  viewer->ShowId(QStringLiteral("TWordForm"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
  QTRY_VERIFY(viewer->Browser()->verticalScrollBar()->value() > 0);
  qApp->removeEventFilter(&filter);
}

TEST(HelpViewer, F1InAToolWindowOfTheMainWindowOpensItsTopicNotTheContents) {
  // The main window's F1 command (Help|Contents) also reaches its tool windows.
  QWidget main;
  int contents = 0;
  auto *f1 = new QAction(&main);
  f1->setShortcut(Qt::Key_F1);
  QObject::connect(f1, &QAction::triggered, [&] { ++contents; });
  main.addAction(f1);
  main.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
  QWidget tool(&main, Qt::Tool);
  tool.setProperty("HelpTopic", QStringLiteral("TWordForm"));
  tool.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tool));
  tool.activateWindow();
  auto viewer = OpenViewer();
  THelpKeyFilter filter([&](const QString &id) { return viewer->ShowId(id); }, &main);
  qApp->installEventFilter(&filter);
  QTest::keyClick(&tool, Qt::Key_F1);
  EXPECT_EQ(contents, 0);
  EXPECT_EQ(Page(*viewer), QStringLiteral("edit.html#mniWordCount"));
  // In the main window itself F1 stays its own command.
  QTest::keyClick(&main, Qt::Key_F1);
  EXPECT_EQ(contents, 1);
  qApp->removeEventFilter(&filter);
}
