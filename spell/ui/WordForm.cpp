// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/WordForm.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "platform/ui/Fonts.h"
#include "spell/ui/FixedLabel.h"

namespace {

void MakeBevel(QWidget *parent, const char *name, QRect place) {
  auto *bevel = new QFrame(parent);
  bevel->setObjectName(QString::fromLatin1(name));
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(place);
}

}  // namespace

TWordForm::TWordForm(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("WordForm"));
  setWindowTitle(QStringLiteral("Word Count"));
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 11, true));
  resize(299, 174);
  move(200, 100);

  AddFixedLabel(this, "Label1", QStringLiteral("Words:"), {86, 32, 41, 13}, Qt::AlignRight);
  AddFixedLabel(this, "Label2", QStringLiteral("Unique Words:"), {42, 64, 85, 13}, Qt::AlignRight);
  MakeBevel(this, "Bevel1", {136, 24, 113, 25});
  MakeBevel(this, "Bevel2", {136, 56, 113, 25});
  const QFont numbers = Fonts::Face(QStringLiteral("Arial"), 12);
  lblWords =
      AddFixedLabel(this, "lblWords", QStringLiteral("0"), {144, 32, 100, 15}, Qt::AlignLeft);
  lblUniqueWords =
      AddFixedLabel(this, "lblUniqueWords", QStringLiteral("0"), {144, 64, 100, 15}, Qt::AlignLeft);
  for (QLabel *label : {lblWords, lblUniqueWords}) {
    label->setFont(numbers);
    label->setStyleSheet(QStringLiteral("color: black"));
  }
  btnOk = new QPushButton(QStringLiteral("OK"), this);
  btnOk->setObjectName(QStringLiteral("btnOk"));
  btnOk->setGeometry(104, 104, 89, 33);
  btnOk->setDefault(true);
  connect(btnOk, &QPushButton::clicked, this, &QWidget::hide);
}

void TWordForm::ShowCount() {
  if (!isVisible()) show();
}

void TWordForm::SetCounts(int words, int unique) {
  lblWords->setText(QString::number(words));
  lblUniqueWords->setText(QString::number(unique));
}

QString TWordForm::WordsText() const { return lblWords->text(); }

QString TWordForm::UniqueWordsText() const { return lblUniqueWords->text(); }
