// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/DatePage.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSplitter>
#include <QVBoxLayout>

#include "documents/core/DateTimeStamp.h"
#include "preferences/Hints.h"
#include "settings/ui/Holder.h"

TWidthPane::TWidthPane(QSplitter *splitter) : QWidget(splitter), splitter_(splitter) {}

void TWidthPane::SetWidth(int width) {
  if (width <= 0) return;
  QList<int> sizes = splitter_->sizes();
  const int total = std::max(sizes.value(0) + sizes.value(1), width + 50);
  splitter_->setSizes({width, total - width});
  resize(width, height());
}

namespace {

QWidget *ListPane(QWidget *pane, const QString &heading, QListWidget *list) {
  auto *layout = new QVBoxLayout(pane);
  layout->setContentsMargins(2, 2, 2, 2);
  auto *label = new QLabel(heading, pane);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  layout->addWidget(label);
  layout->addWidget(list, 1);
  return pane;
}

QListWidget *FormatList(const char *name, int tag, const QString &hint) {
  auto *list = new QListWidget;
  list->setObjectName(QString::fromLatin1(name));
  list->setProperty("Tag", tag);
  Hints::Set(list, hint);
  Hints::PressEnterKey(list);
  return list;
}

}  // namespace

TDatePage::TDatePage(THolder &dateHolder, THolder &timeHolder, QWidget *parent)
    : QWidget(parent), date_(dateHolder), time_(timeHolder) {
  setObjectName(QStringLiteral("tabDate"));
  Hints::SetHelp(this, 1114);
  auto *splDateTime = new QSplitter(Qt::Horizontal, this);
  splDateTime->setObjectName(QStringLiteral("splDateTime"));
  splDateTime->setChildrenCollapsible(false);
  auto *pnlDLeft = new TWidthPane(splDateTime);
  pnlDLeft->setObjectName(QStringLiteral("pnlDLeft"));
  lstDate = FormatList("lstDate", 0, QStringLiteral("|Select date format"));
  lstTime = FormatList("lstTime", 1, QStringLiteral("|Select time format"));
  splDateTime->addWidget(ListPane(pnlDLeft, QStringLiteral("Date Formats"), lstDate));
  splDateTime->addWidget(
      ListPane(new QWidget(splDateTime), QStringLiteral("Time Formats"), lstTime));
  splDateTime->setStretchFactor(1, 1);

  lblDateDisplay = new QLabel(this);
  lblDateDisplay->setObjectName(QStringLiteral("lblDateDisplay"));
  lblDateDisplay->setFrameShape(QFrame::StyledPanel);
  lblDateDisplay->setAlignment(Qt::AlignCenter);
  chkDefault = new QCheckBox(QStringLiteral("Return to default"), this);
  chkDefault->setObjectName(QStringLiteral("chkDefault"));
  Hints::Set(chkDefault, QStringLiteral("Set date format back to system default"));
  Hints::PressEnterKey(chkDefault);

  auto *bottom = new QHBoxLayout;
  bottom->addWidget(lblDateDisplay, 1);
  bottom->addWidget(chkDefault);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(splDateTime, 1);
  layout->addLayout(bottom);

  connect(lstDate, &QListWidget::currentRowChanged, this, [this] { UpdateDateTime(0); });
  connect(lstTime, &QListWidget::currentRowChanged, this, [this] { UpdateDateTime(1); });
  connect(chkDefault, &QCheckBox::clicked, this, [this] { DefaultDateTime(); });
}

void TDatePage::Fill(const QDateTime &moment) {
  const QSignalBlocker blockDate(lstDate), blockTime(lstTime);
  const QLocale locale;
  lstDate->clear();
  lstTime->clear();
  for (int i = 0; i < 8; ++i) lstDate->addItem(FormatDateTime(DateFormatString(i), moment, locale));
  for (int i = 0; i < 4; ++i) lstTime->addItem(FormatDateTime(TimeFormatString(i), moment, locale));
  bool valid = false;
  const int dateIndex = date_.Caption().toInt(&valid);
  lstDate->setCurrentRow(valid && dateIndex < lstDate->count() ? dateIndex : -1);
  const int timeIndex = time_.Caption().toInt(&valid);
  lstTime->setCurrentRow(valid && timeIndex < lstTime->count() ? timeIndex : -1);
  ShowSample(-1);
}

void TDatePage::ShowSample(int clickedTag) {
  QListWidgetItem *date = lstDate->currentRow() >= 0 ? lstDate->currentItem() : nullptr;
  QListWidgetItem *time = lstTime->currentRow() >= 0 ? lstTime->currentItem() : nullptr;
  if (date && time)
    lblDateDisplay->setText(date->text() + QStringLiteral(" at ") + time->text());
  else if (clickedTag == 0 || (clickedTag < 0 && date))
    lblDateDisplay->setText(date ? date->text() : QString());
  else if (clickedTag == 1 || (clickedTag < 0 && time))
    lblDateDisplay->setText(time ? time->text() : QString());
}

void TDatePage::UpdateDateTime(int tag) {
  ShowSample(tag);
  chkDefault->setChecked(false);
  date_.SetCaption(QString::number(lstDate->currentRow()));
  time_.SetCaption(QString::number(lstTime->currentRow()));
}

void TDatePage::DefaultDateTime() {
  if (!chkDefault->isChecked()) return;
  {
    const QSignalBlocker blockDate(lstDate), blockTime(lstTime);
    lstDate->setCurrentRow(0);
    lstTime->setCurrentRow(-1);
  }
  lblDateDisplay->setText(lstDate->item(0) ? lstDate->item(0)->text() : QString());
  date_.SetCaption(QStringLiteral("0"));
  time_.SetCaption(QStringLiteral("-1"));
}
