// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/FiltersPage.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "platform/ui/MessageBox.h"
#include "preferences/FilterRules.h"
#include "preferences/Hints.h"

using namespace FilterRules;

TFiltersPage::TFiltersPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tabFilters"));
  auto *grid = new QGridLayout(this);
  grid->setVerticalSpacing(2);
  auto *group = new QButtonGroup(this);
  for (int column = 0; column < 2; ++column) {
    const int at = column * 3;
    grid->addWidget(new QLabel(QStringLiteral("Default"), this), 0, at);
    grid->addWidget(new QLabel(QStringLiteral("Filter Name"), this), 0, at + 1);
    grid->addWidget(new QLabel(QStringLiteral("Extension"), this), 0, at + 2);
    grid->setColumnStretch(at + 1, 3);
    grid->setColumnStretch(at + 2, 2);
  }
  for (int row = 1; row <= Rows; ++row) {
    auto *radio = new QRadioButton(this);
    radio->setObjectName(QStringLiteral("RadioButton%1").arg(row));
    radio->setToolTip(QStringLiteral("Default filter"));
    radio->setAccessibleName(QStringLiteral("Default filter, row %1").arg(row));
    Hints::PressEnterKey(radio);
    group->addButton(radio, row);
    radios_ << radio;
    const int gridRow = (row - 1) % 8 + 1;
    const int at = (row - 1) / 8 * 3;
    grid->addWidget(radio, gridRow, at, Qt::AlignCenter);
    for (int part = 0; part < 2; ++part) {
      const int number = row * 2 - 1 + part;
      auto *box = new QLineEdit(this);
      box->setObjectName(QStringLiteral("Edit%1").arg(number));
      box->setProperty("Tag", number);
      box->setAccessibleName(
          (part == 0 ? QStringLiteral("Filter Name, row %1") : QStringLiteral("Extension, row %1"))
              .arg(row));
      Hints::PressEnterKey(box);
      if (part == 0)
        Hints::OnFocusOut(box, [box] { box->setCursorPosition(0); });
      else
        Hints::OnFocusOut(box, [this, number] { FilterVerify(number); });
      boxes_ << box;
      grid->addWidget(box, gridRow, at + 1 + part);
    }
  }
  grid->setRowStretch(Rows / 2 + 1, 1);
  radios_.first()->setChecked(true);
}

QStringList TFiltersPage::texts() const {
  QStringList list;
  for (const QLineEdit *box : boxes_) list << box->text();
  return list;
}

void TFiltersPage::Fill(const QString &filter, int defaultRow) {
  const QStringList pieces = SplitFilter(filter);
  for (int i = 0; i < Boxes; ++i) {
    boxes_[i]->setText(pieces[i]);
    boxes_[i]->setCursorPosition(0);
  }
  if (defaultRow >= 1 && defaultRow <= Rows) radios_[defaultRow - 1]->setChecked(true);
  EnableRows(false);
}

void TFiltersPage::EnableRows(bool focus) {
  const TEnabled enabled = EnabledPart(texts());
  for (int i = 0; i < Boxes; ++i) boxes_[i]->setEnabled(i < enabled.lastBox);
  for (int i = 0; i < Rows; ++i) radios_[i]->setEnabled(i < enabled.lastRow);
  const int n = FirstEmptyBox(texts());
  if (focus && n < Boxes && isVisible()) boxes_[n - 1]->setFocus();
}

void TFiltersPage::warn(const QString &text, QLineEdit *focus) {
  MessageBox::Show(this, MessageBox::MsgHeader() + text, TMsgKind::Warning, TMsgButtons::Ok);
  // After the box has closed and given the focus back.
  QTimer::singleShot(0, focus, [focus] { focus->setFocus(); });
}

void TFiltersPage::FilterVerify(int number) {
  QLineEdit *box = Box(number);
  if (!box->text().isEmpty()) {
    if (!ValidExtension(box->text()))
      warn(QStringLiteral("You have entered an invalid filter extension."), box);
    else if (Box(number - 1)->text().isEmpty())
      warn(QStringLiteral("You must enter a name for this filter extension."), Box(number - 1));
    else
      EnableRows(true);
  }
  box->setCursorPosition(0);
}

QString TFiltersPage::Filter() const { return BuildFilter(texts()); }

int TFiltersPage::CommitDefault() {
  int checked = 1;
  for (int row = 1; row <= Rows; ++row)
    if (radios_[row - 1]->isChecked()) checked = row;
  const int row = DefaultRow(checked, texts());
  radios_[row - 1]->setChecked(true);
  return FilterIndex(row, texts());
}
