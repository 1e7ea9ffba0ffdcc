// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/special/fmSpecialChar.h"

#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "documents/edit/EditControl.h"
#include "documents/special/SpecialChars.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/Fonts.h"
#include "settings/ui/FormStorage.h"

namespace {

constexpr int CellSize = 25;

}  // namespace

TfrmSpecialChar::TfrmSpecialChar(TTarget target, const QFont &font, const QColor &color,
                                 const QIcon &closeGlyph, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      target_(std::move(target)),
      font_(font),
      color_(color) {
  setObjectName(QStringLiteral("frmSpecialChar"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Insert Special Characters"));
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 11));

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  BuildToolBar(closeGlyph);
  layout->addWidget(barTools_);

  grdSpecial_ = new QTableWidget(SpecialChars::RowCount, SpecialChars::ColCount, this);
  grdSpecial_->setObjectName(QStringLiteral("grdSpecial"));
  grdSpecial_->setAccessibleName(QStringLiteral("Special characters"));
  grdSpecial_->horizontalHeader()->hide();
  grdSpecial_->verticalHeader()->hide();
  grdSpecial_->horizontalHeader()->setMinimumSectionSize(CellSize);
  grdSpecial_->verticalHeader()->setMinimumSectionSize(CellSize);
  grdSpecial_->horizontalHeader()->setDefaultSectionSize(CellSize);
  grdSpecial_->verticalHeader()->setDefaultSectionSize(CellSize);
  grdSpecial_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdSpecial_->setSelectionMode(QAbstractItemView::SingleSelection);
  // The whole grid stays in view: 22 x 12 cells need a little more than 510 x 318 pixels.
  grdSpecial_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grdSpecial_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const int frame = 2 * grdSpecial_->frameWidth();
  grdSpecial_->setFixedSize(SpecialChars::ColCount * CellSize + frame,
                            SpecialChars::RowCount * CellSize + frame);
  layout->addWidget(grdSpecial_, 1);
  // Selection, by mouse or keys; not the current cell, which focus alone moves to the first.
  connect(grdSpecial_, &QTableWidget::itemSelectionChanged, this, [this] {
    const QList<QTableWidgetItem *> selected = grdSpecial_->selectedItems();
    if (!selected.isEmpty())
      grdSpecialSelectCell(selected.first()->column(), selected.first()->row());
  });
  connect(grdSpecial_, &QTableWidget::cellDoubleClicked, this, [this] { grdSpecialDblClick(); });

  strSpecialChar_ = new TFormStorage(this);
  strSpecialChar_->IniSection = QStringLiteral("Special Characters");
  strSpecialChar_->SetStoredProps(
      {QStringLiteral("barTools.Options"), QStringLiteral("mniExplore.Checked"),
       QStringLiteral("mniStandard.Checked")},
      {{QStringLiteral("barTools_Options"), QStringLiteral("[sbFlatBtns]")},
       {QStringLiteral("mniExplore_Checked"), QStringLiteral("True")},
       {QStringLiteral("mniStandard_Checked"), QStringLiteral("False")}});
  resize(std::max(510, grdSpecial_->width()), 318);
}

TfrmSpecialChar::~TfrmSpecialChar() { strSpecialChar_->FormDestroying(); }

void TfrmSpecialChar::BuildToolBar(const QIcon &closeGlyph) {
  barTools_ = new QToolBar(this);
  barTools_->setObjectName(QStringLiteral("barTools"));
  barTools_->setMovable(false);
  barTools_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction *btnClose = barTools_->addAction(closeGlyph, QStringLiteral("Close"));
  btnClose->setObjectName(QStringLiteral("btnClose"));
  btnClose->setToolTip(QStringLiteral("Close insert special characters and return to Vellumix"));
  connect(btnClose, &QAction::triggered, this, &QWidget::close);
  barTools_->addSeparator();
  lblChar_ = new QLabel(QStringLiteral("Char: 0"), barTools_);
  lblChar_->setObjectName(QStringLiteral("lblChar"));
  lblChar_->setMinimumWidth(70);
  barTools_->addWidget(lblChar_);
  barTools_->addSeparator();
  auto *lblClick = new QLabel(
      QStringLiteral("Double-click on character to insert into workspace at cursor position"),
      barTools_);
  lblClick->setObjectName(QStringLiteral("lblClick"));
  barTools_->addWidget(lblClick);
  pumToolBar_ = new TBarStyleMenu(
      barTools_,
      {QStringLiteral("I&Explorer Style"), QStringLiteral("Display too bar with flat buttons"),
       QStringLiteral("S&tandard Style"), QStringLiteral("Display tool bar with raised buttons")});
}

void TfrmSpecialChar::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfrmSpecialChar::FormShow() {
  grdSpecial_->setFont(font_);
  QPalette colours = grdSpecial_->palette();
  if (color_.isValid()) colours.setColor(QPalette::Base, color_);
  grdSpecial_->setPalette(colours);
  lblChar_->setText(QStringLiteral("Char: 0"));
  for (int column = 0; column < SpecialChars::ColCount; ++column)
    for (int row = 0; row < SpecialChars::RowCount; ++row) {
      auto *cell = new QTableWidgetItem(SpecialChars::DisplayOf(SpecialChars::CodeOf(column, row)));
      cell->setTextAlignment(Qt::AlignCenter);
      grdSpecial_->setItem(row, column, cell);
    }
}

void TfrmSpecialChar::grdSpecialSelectCell(int column, int row) {
  selectedChar_ = SpecialChars::CharOf(SpecialChars::CodeOf(column, row));
  lblChar_->setText(SpecialChars::LabelText(column, row));
}

void TfrmSpecialChar::grdSpecialDblClick() {
  TEditControl *control = target_ ? target_() : nullptr;
  if (!control) return;
  // Both line-break codes insert a line break of the document's own kind.
  control->ReplaceSelection(selectedChar_ == u"\r" ? QStringLiteral("\n") : selectedChar_);
}
