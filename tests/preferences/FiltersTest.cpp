// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "PrefsFixture.h"
#include "TestEnvironment.h"
#include "preferences/DisplayPage.h"
#include "preferences/FilterRules.h"
#include "preferences/FiltersPage.h"

namespace {

const QString defaultFilter = QStringLiteral(
    "Text Files (*.TXT)|*.txt|Initialization Files (*.INI)|*.ini|HTML Files "
    "(*.HTM;*HTML)|*.htm;*.html|All Files (*.*)|*.*");

// Types text into a filter box and leaves it with Tab, as a user would.
void TypeAndLeave(TfrmTools &d, int box, const QString &text) {
  QLineEdit *edit = d.filters->Box(box);
  QApplication::setActiveWindow(&d);
  edit->setFocus(Qt::MouseFocusReason);
  edit->selectAll();
  if (text.isEmpty())
    QTest::keyClick(edit, Qt::Key_Delete);
  else
    QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Tab);
  TestEnvironment::Settle();  // the warning, answered, and the focus put back
}

void ShowFilters(TfrmTools &d) {
  d.Item(QStringLiteral("mniOptions0"))->trigger();
  QApplication::setActiveWindow(&d);
  TestEnvironment::Settle();
}

}  // namespace

TEST_F(PrefsFixture, AWebRowAddedFifthIsListedFifthAndCanBeTheDefault) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    ShowFilters(d);
    // Four rows filled: the fifth is open, the rest wait.
    EXPECT_TRUE(d.filters->Box(10)->isEnabled());
    EXPECT_FALSE(d.filters->Box(11)->isEnabled());
    EXPECT_TRUE(d.filters->Radio(5)->isEnabled());
    EXPECT_FALSE(d.filters->Radio(6)->isEnabled());
    EXPECT_TRUE(d.filters->Radio(1)->isChecked());
    TypeAndLeave(d, 9, QStringLiteral("Web"));
    TypeAndLeave(d, 10, QStringLiteral("*.htm;*.html"));
    EXPECT_TRUE(d.filters->Box(12)->isEnabled());  // the next row opens
    EXPECT_TRUE(d.filters->Radio(6)->isEnabled());
    EXPECT_EQ(d.focusWidget(), d.filters->Box(11));
    d.filters->Radio(5)->click();
    Save(d);
  });
  EXPECT_EQ(m.Holder(QStringLiteral("lblFilter"))->Caption(), QStringLiteral("5"));
  EXPECT_EQ(m.OpenFilter(), defaultFilter + QStringLiteral("|Web|*.htm;*.html"));

  QStringList shown;
  QString selected;
  TModalAnswerer answerer;
  answerer.onShown = [&](QWidget *modal) {
    if (auto *files = qobject_cast<QFileDialog *>(modal)) {
      shown = files->nameFilters();
      selected = files->selectedNameFilter();
    }
  };
  m.Action(QStringLiteral("mniOpen"))->trigger();
  ASSERT_EQ(shown.size(), 5);
  EXPECT_TRUE(shown[4].startsWith(QStringLiteral("Web"))) << shown[4].toStdString();
  // The dialog names its chosen type by the name alone or with its patterns.
  EXPECT_TRUE(selected.startsWith(QStringLiteral("Web")) && shown[4].startsWith(selected))
      << selected.toStdString();

  main.reset();
  EXPECT_EQ(Stored(QStringLiteral("Main Form"), QStringLiteral("dlgOpen_Filter")),
            defaultFilter + QStringLiteral("|Web|*.htm;*.html"));
  EXPECT_EQ(Stored(QStringLiteral("Main Form"), QStringLiteral("dlgOpen_FilterIndex")),
            QStringLiteral("5"));
  EXPECT_EQ(Start().OpenFilter(), defaultFilter + QStringLiteral("|Web|*.htm;*.html"));
}

TEST_F(PrefsFixture, ADefaultRowWithoutANameMovesToAllFilesOrToTheFirstRow) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    ShowFilters(d);
    TypeAndLeave(d, 1, QString());
    Save(d);
  });
  // The default moves to "All Files" (*.*), which is the third filter of the list now.
  EXPECT_EQ(m.Holder(QStringLiteral("lblFilter"))->Caption(), QStringLiteral("3"));
  EXPECT_EQ(m.OpenFilter(), QStringLiteral("Initialization Files (*.INI)|*.ini|HTML Files "
                                           "(*.HTM;*HTML)|*.htm;*.html|All Files (*.*)|*.*"));
  Preferences(m, [](TfrmTools &d) {
    ShowFilters(d);
    EXPECT_TRUE(d.filters->Radio(3)->isChecked());  // the All Files row is third now
    d.filters->Box(6)->setText(QStringLiteral("*.all"));
    d.filters->Box(5)->clear();
    Save(d);
  });
  EXPECT_EQ(m.Holder(QStringLiteral("lblFilter"))->Caption(), QStringLiteral("1"));
}

TEST_F(PrefsFixture, AnInvalidOrNamelessExtensionIsRefusedWithTheFocusBackInTheBox) {
  TfrmMain &m = Start();
  TBoxAnswerer answerer({QStringLiteral("OK"), QStringLiteral("OK")});
  Preferences(m, [&](TfrmTools &d) {
    ShowFilters(d);
    TypeAndLeave(d, 10, QStringLiteral("txt"));
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].endsWith(
        QStringLiteral("You have entered an invalid filter extension.")));
    EXPECT_EQ(d.focusWidget(), d.filters->Box(10));
    EXPECT_FALSE(d.filters->Box(11)->isEnabled());
    TypeAndLeave(d, 10, QStringLiteral("*.md"));
    ASSERT_EQ(answerer.texts.size(), 2);
    EXPECT_TRUE(answerer.texts[1].endsWith(
        QStringLiteral("You must enter a name for this filter extension.")));
    EXPECT_EQ(d.focusWidget(), d.filters->Box(9));
    // Saving is still allowed; the incomplete row is left out.
    Save(d);
  });
  EXPECT_EQ(m.OpenFilter(), defaultFilter);
}

TEST(FilterRules, RowsAreReadFromAndWrittenToTheFilterList) {
  using namespace FilterRules;
  QStringList boxes = SplitFilter(QStringLiteral("A|*.a|B|*.b"));
  ASSERT_EQ(boxes.size(), Boxes);
  EXPECT_EQ(FirstEmptyBox(boxes), 5);
  EXPECT_EQ(EnabledPart(boxes).lastBox, 6);
  EXPECT_EQ(EnabledPart(boxes).lastRow, 3);
  // More pieces than boxes: the extra ones are dropped, and a full list opens everything.
  QStringList many;
  for (int i = 0; i < 40; ++i) many << QStringLiteral("x%1").arg(i);
  const QStringList full = SplitFilter(many.join(u'|'));
  EXPECT_EQ(full.size(), Boxes);
  EXPECT_EQ(FirstEmptyBox(full), Boxes + 1);
  EXPECT_EQ(EnabledPart(full).lastBox, Boxes);
  EXPECT_EQ(EnabledPart(full).lastRow, Rows);
  // A row with a part missing is left out.
  boxes[2].clear();
  EXPECT_EQ(BuildFilter(boxes), QStringLiteral("A|*.a"));
  EXPECT_EQ(DefaultRow(2, boxes), 1);
  boxes[4] = QStringLiteral("C");
  boxes[5] = QStringLiteral("*.*");
  EXPECT_EQ(DefaultRow(2, boxes), 3);
  EXPECT_EQ(DefaultRow(1, boxes), 1);
  // The Open dialog counts only the rows kept: row 3 is the second filter.
  EXPECT_EQ(FilterIndex(3, boxes), 2);
  EXPECT_EQ(FilterIndex(2, boxes), 1);
}

TEST_F(PrefsFixture, EnterMovesToTheNextControlAndNeverPressesAButton) {
  TfrmMain &m = Start();
  TBoxAnswerer answerer;
  QStringList others;
  answerer.onOther = [&](QDialog *dialog) {
    others << QString::fromLatin1(dialog->metaObject()->className());
    dialog->reject();
  };
  Preferences(m, [&](TfrmTools &d) {
    ShowFilters(d);
    d.filters->Box(9)->setFocus();
    QTest::keyClick(d.filters->Box(9), Qt::Key_Return);
    EXPECT_EQ(d.focusWidget(), d.filters->Box(10));
    d.Item(QStringLiteral("mniOptions5"))->trigger();
    QApplication::setActiveWindow(&d);
    d.display->chkShowSelBar->setFocus();
    QTest::keyClick(d.display->chkShowSelBar, Qt::Key_Enter);
    EXPECT_NE(d.focusWidget(), d.display->chkShowSelBar);
    TestEnvironment::Settle();
    EXPECT_TRUE(d.isVisible());
    Cancel(d);
  });
  EXPECT_EQ(others, QStringList());  // no font dialog was opened by the Enter key
  EXPECT_EQ(answerer.texts, QStringList());
}
