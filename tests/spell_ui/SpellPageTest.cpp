// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QRadioButton>

#include "DctFiles.h"
#include "TestEnvironment.h"
#include "preferences/SpellPage.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/SpellDlg.h"

namespace {

class SpellPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char *name : {"English.dct", "Spanish.dct", "French.dct"})
      DctFiles::Compile(dir, QString::fromLatin1(name), {"hola", "the"});
    spell.SetDictionaryPath(dir);
    spell.SetDictionaryName(QStringLiteral("English.dct"));
  }
  QRadioButton *Radio(const char *name) {
    return page.findChild<QRadioButton *>(QString::fromLatin1(name));
  }

  QString dir = TestEnvironment::FreshDir(QStringLiteral("spellpage"));
  TSpellDlg spell;
  TSpellPage page{spell};
};

TEST_F(SpellPageTest, TheDictionaryDecidesTheAccentButtons) {
  page.FormShow(dir + QLatin1Char('/'));
  Radio("radSpanish")->setChecked(true);
  EXPECT_EQ(spell.DictionaryName(), QStringLiteral("Spanish.dct"));
  EXPECT_EQ(spell.DictionaryType(), TSpellDlg::lgSpanish);
  EXPECT_TRUE(spell.AccentIcons() & acSpanish);
  // The dialog the check shows has the accent buttons.
  TAbsSpellDialog *dialog = spell.Dialog();
  ASSERT_NE(dialog, nullptr);
  dialog->show();
  auto *accents = dialog->findChild<QWidget *>(QStringLiteral("pnlIcons"));
  ASSERT_NE(accents, nullptr);
  EXPECT_TRUE(accents->isVisible());
  if (const QString shot = qEnvironmentVariable("VELLUMIX_SCREENSHOT"); !shot.isEmpty())
    dialog->grab().save(shot);
  Radio("radFrench")->setChecked(true);
  EXPECT_EQ(spell.DictionaryType(), TSpellDlg::lgFrench);
  EXPECT_FALSE(spell.AccentIcons() & acSpanish);
  EXPECT_FALSE(accents->isVisible());
  dialog->hide();
}

TEST_F(SpellPageTest, AStoredDictionaryThatIsGoneIsNotApplied) {
  // The saved state checks "Legal" (no such file) before the page is shown.
  Radio("radLegal")->setChecked(true);
  EXPECT_EQ(spell.DictionaryName(), QStringLiteral("English.dct"));
  page.FormShow(dir + QLatin1Char('/'));
  EXPECT_FALSE(Radio("radLegal")->isEnabled());
  EXPECT_TRUE(Radio("radEnglish")->isChecked());
  EXPECT_EQ(spell.DictionaryName(), QStringLiteral("English.dct"));
  // Chosen while shown, a dictionary that was deleted meanwhile is not applied either.
  QFile::remove(dir + QStringLiteral("/French.dct"));
  Radio("radFrench")->setChecked(true);
  EXPECT_EQ(spell.DictionaryName(), QStringLiteral("English.dct"));
}

}  // namespace
