// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

#include "AppFixture.h"

namespace {

QAccessibleInterface *Accessible(QObject *object) {
  return QAccessible::queryAccessibleInterface(object);
}

QToolButton *Button(TfrmMain &m, const char *name) {
  QAction *action = m.Action(QString::fromLatin1(name));
  return qobject_cast<QToolButton *>(m.barECustom()->widgetForAction(action));
}

}  // namespace

TEST_F(AppFixture, EveryMenuHasANameForAssistiveTechnology) {
  TfrmMain &m = Start();
  // The program's own menus (Qt's frame menus of the workspaces and the menu bar's overflow
  // are named by Qt).
  for (QMenu *menu : m.findChildren<QMenu *>(Qt::FindDirectChildrenOnly)) {
    QAccessibleInterface *face = Accessible(menu);
    ASSERT_NE(face, nullptr);
    EXPECT_FALSE(face->text(QAccessible::Name).remove(u'&').trimmed().isEmpty())
        << menu->objectName().toStdString();
  }
  EXPECT_EQ(Accessible(m.Menu(QStringLiteral("pumPopup")))->text(QAccessible::Name),
            QStringLiteral("Workspace menu"));
  EXPECT_EQ(Accessible(m.Menu(QStringLiteral("mniFile")))->text(QAccessible::Name),
            QStringLiteral("File"));
}

TEST_F(AppFixture, AlignmentButtonsApplyTheirAlignmentWhenToggledThroughAssistiveTechnology) {
  TfrmMain &m = Start();
  TfrmEdit *edit = m.ActiveEdit();
  for (const auto &[button, alignment, item] :
       {std::tuple{"btnCenter", TTextAlignment::Center, "mniCenter"},
        std::tuple{"btnRight", TTextAlignment::Right, "mniRight"},
        std::tuple{"btnLeft", TTextAlignment::Left, "mniLeft"}}) {
    QToolButton *tool = Button(m, button);
    ASSERT_NE(tool, nullptr) << button;
    QAccessibleActionInterface *actions = Accessible(tool)->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
        << button;
    actions->doAction(QAccessibleActionInterface::toggleAction());
    Settle();
    EXPECT_EQ(edit->mmoMemo()->Alignment(), alignment) << button;
    EXPECT_TRUE(m.IsChecked(QString::fromLatin1(item))) << button;
    EXPECT_TRUE(tool->isChecked()) << button;
  }
  // A plain click still runs the command once and leaves the buttons in step.
  QTest::mouseClick(Button(m, "btnCenter"), Qt::LeftButton);
  Settle();
  EXPECT_EQ(edit->mmoMemo()->Alignment(), TTextAlignment::Center);
  EXPECT_FALSE(Button(m, "btnLeft")->isChecked());
}
