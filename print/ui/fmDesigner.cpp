// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/ui/fmDesigner.h"

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

#include "print/core/ReportVariables.h"
#include "print/core/TextMeasure.h"
#include "print/ui/DesignerCanvas.h"

namespace {

// Typing in the text box is one undo step from the moment it gets the focus until it loses it.
class TGestureFocus : public QObject {
 public:
  TGestureFocus(TTemplateEditor &editor, QObject *parent) : QObject(parent), editor_(editor) {}
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::FocusIn) editor_.BeginGesture();
    if (event->type() == QEvent::FocusOut) editor_.EndGesture();
    return false;
  }

 private:
  TTemplateEditor &editor_;
};

}  // namespace

QString TfrmDesigner::FontWarning(const TReportObject &object) {
  const double needed = TTextMeasure(object.font).LineHeight();
  if (needed <= object.rect.height() + 0.01) return {};
  return QStringLiteral(
             "The font is too big for this box: a line needs %1 mm, the box is %2 mm "
             "high. Choose a smaller font or make the box higher.")
      .arg(needed, 0, 'f', 1)
      .arg(object.rect.height(), 0, 'f', 1);
}

TfrmDesigner::TfrmDesigner(const TReportTemplate &report, QWidget *parent)
    : QDialog(parent), editor_(report) {
  setWindowTitle(QStringLiteral("Customize Print Out"));
  setModal(true);
  canvas_ = new TDesignerCanvas(editor_, this);
  canvas_->setObjectName(QStringLiteral("pnlPage"));
  auto *scroll = new QScrollArea(this);
  scroll->setWidget(canvas_);
  scroll->setBackgroundRole(QPalette::Dark);
  scroll->setAlignment(Qt::AlignCenter);

  auto *bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto *actText = bar->addAction(QStringLiteral("Add &Text"), this, [this] {
    editor_.AddText(canvas_->CurrentBand());
    changed();
  });
  actText->setObjectName(QStringLiteral("actAddText"));
  auto *actLine = bar->addAction(QStringLiteral("Add &Line"), this, [this] {
    editor_.AddLine(canvas_->CurrentBand());
    changed();
  });
  actLine->setObjectName(QStringLiteral("actAddLine"));
  actDelete_ = bar->addAction(QStringLiteral("&Delete"), this, [this] {
    editor_.DeleteSelected();
    changed();
  });
  actDelete_->setObjectName(QStringLiteral("actDelete"));
  bar->addSeparator();
  actUndo_ = bar->addAction(QStringLiteral("&Undo"), this, [this] {
    editor_.EndGesture();
    editor_.Undo();
    changed();
  });
  actUndo_->setObjectName(QStringLiteral("actUndo"));
  actUndo_->setShortcut(QKeySequence::Undo);
  bar->addSeparator();
  auto *actZoomIn = bar->addAction(QStringLiteral("Zoom &In"), this,
                                   [this] { canvas_->SetScale(canvas_->Scale() * 1.25); });
  actZoomIn->setShortcut(QKeySequence::ZoomIn);
  auto *actZoomOut = bar->addAction(QStringLiteral("Zoom &Out"), this,
                                    [this] { canvas_->SetScale(canvas_->Scale() / 1.25); });
  actZoomOut->setShortcut(QKeySequence::ZoomOut);

  auto *side = new QVBoxLayout;
  side->addWidget(buildObjectPanel());
  side->addWidget(buildPagePanel());
  side->addStretch();

  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *middle = new QHBoxLayout;
  middle->addWidget(scroll, 1);
  middle->addLayout(side);
  auto *main = new QVBoxLayout(this);
  main->addWidget(bar);
  main->addLayout(middle, 1);
  main->addWidget(buttons);

  connect(canvas_, &TDesignerCanvas::Changed, this, [this] { refresh(); });
  canvas_->SetScale(2.6);
  resize(1000, 860);
  refresh();
}

QDoubleSpinBox *TfrmDesigner::lengthBox(const QString &name, double maximum) {
  auto *box = new QDoubleSpinBox(this);
  box->setObjectName(name);
  box->setRange(0, maximum);
  box->setDecimals(1);
  box->setSingleStep(0.5);
  box->setSuffix(QStringLiteral(" mm"));
  return box;
}

QWidget *TfrmDesigner::buildObjectPanel() {
  grpObject_ = new QGroupBox(QStringLiteral("Selected Object"), this);
  auto *form = new QFormLayout(grpObject_);
  edtText_ = new QPlainTextEdit(this);
  edtText_->setObjectName(QStringLiteral("edtText"));
  edtText_->setFixedHeight(90);
  edtText_->installEventFilter(new TGestureFocus(editor_, this));
  connect(edtText_, &QPlainTextEdit::textChanged, this, [this] {
    if (refreshing_) return;
    editor_.SetText(edtText_->toPlainText().split(u'\n'));
    canvas_->update();
    actUndo_->setEnabled(editor_.CanUndo());
  });
  form->addRow(QStringLiteral("Te&xt:"), edtText_);
  cbxVariable_ = new QComboBox(this);
  cbxVariable_->setObjectName(QStringLiteral("cbxVariable"));
  cbxVariable_->addItem(QStringLiteral("Insert variable..."));
  for (const QString &v : ReportVariables::CategoryVariables())
    cbxVariable_->addItem(QString::fromLatin1(ReportVariables::Category) + QStringLiteral(": ") + v,
                          v);
  for (const QString &v : ReportVariables::EngineVariables())
    if (!ReportVariables::CategoryVariables().contains(v))
      cbxVariable_->addItem(QStringLiteral("Report: ") + v, v);
  connect(cbxVariable_, &QComboBox::activated, this, [this](int index) { insertVariable(index); });
  form->addRow(QString(), cbxVariable_);
  auto *fontRow = new QHBoxLayout;
  btnFont_ = new QPushButton(QStringLiteral("&Font..."), this);
  btnFont_->setObjectName(QStringLiteral("btnFont"));
  btnColor_ = new QPushButton(QStringLiteral("&Colour..."), this);
  btnColor_->setObjectName(QStringLiteral("btnColor"));
  fontRow->addWidget(btnFont_);
  fontRow->addWidget(btnColor_);
  connect(btnFont_, &QPushButton::clicked, this, [this] { chooseFont(); });
  connect(btnColor_, &QPushButton::clicked, this, [this] { chooseColor(); });
  form->addRow(QStringLiteral("Font:"), fontRow);
  lblFontWarning_ = new QLabel(this);
  lblFontWarning_->setObjectName(QStringLiteral("lblFontWarning"));
  lblFontWarning_->setWordWrap(true);
  lblFontWarning_->setStyleSheet(QStringLiteral("color: #b00000"));
  lblFontWarning_->hide();
  form->addRow(QString(), lblFontWarning_);
  cbxAlign_ = new QComboBox(this);
  cbxAlign_->setObjectName(QStringLiteral("cbxAlign"));
  cbxAlign_->addItems({QStringLiteral("Left"), QStringLiteral("Centre"), QStringLiteral("Right")});
  connect(cbxAlign_, &QComboBox::activated, this, [this](int index) {
    editor_.SetAlign(THAlign(index));
    changed();
  });
  form->addRow(QStringLiteral("&Alignment:"), cbxAlign_);
  chkFrame_ = new QCheckBox(QStringLiteral("Fra&me around the text"), this);
  chkFrame_->setObjectName(QStringLiteral("chkFrame"));
  connect(chkFrame_, &QCheckBox::clicked, this, [this](bool on) {
    editor_.SetFrame(on);
    changed();
  });
  form->addRow(QString(), chkFrame_);
  edtX_ = lengthBox(QStringLiteral("edtX"), 2000);
  edtY_ = lengthBox(QStringLiteral("edtY"), 2000);
  edtW_ = lengthBox(QStringLiteral("edtW"), 2000);
  edtH_ = lengthBox(QStringLiteral("edtH"), 2000);
  for (QDoubleSpinBox *box : {edtX_, edtY_, edtW_, edtH_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { applyGeometry(); });
  auto *place = new QHBoxLayout;
  place->addWidget(edtX_);
  place->addWidget(edtY_);
  auto *size = new QHBoxLayout;
  size->addWidget(edtW_);
  size->addWidget(edtH_);
  form->addRow(QStringLiteral("Left, top:"), place);
  form->addRow(QStringLiteral("Width, height:"), size);
  return grpObject_;
}

QWidget *TfrmDesigner::buildPagePanel() {
  auto *group = new QGroupBox(QStringLiteral("Page"), this);
  auto *form = new QFormLayout(group);
  cbxSize_ = new QComboBox(this);
  cbxSize_->setObjectName(QStringLiteral("cbxSize"));
  cbxSize_->addItems(TPageSetup::SizeNames());
  cbxOrientation_ = new QComboBox(this);
  cbxOrientation_->setObjectName(QStringLiteral("cbxOrientation"));
  cbxOrientation_->addItems({QStringLiteral("Portrait"), QStringLiteral("Landscape")});
  connect(cbxSize_, &QComboBox::activated, this, [this] { applyPage(); });
  connect(cbxOrientation_, &QComboBox::activated, this, [this] { applyPage(); });
  form->addRow(QStringLiteral("Paper &size:"), cbxSize_);
  form->addRow(QStringLiteral("&Orientation:"), cbxOrientation_);
  edtLeft_ = lengthBox(QStringLiteral("edtLeft"), 100);
  edtTop_ = lengthBox(QStringLiteral("edtTop"), 100);
  edtRight_ = lengthBox(QStringLiteral("edtRight"), 100);
  edtBottom_ = lengthBox(QStringLiteral("edtBottom"), 100);
  auto *lr = new QHBoxLayout;
  lr->addWidget(edtLeft_);
  lr->addWidget(edtRight_);
  auto *tb = new QHBoxLayout;
  tb->addWidget(edtTop_);
  tb->addWidget(edtBottom_);
  form->addRow(QStringLiteral("Margins left, right:"), lr);
  form->addRow(QStringLiteral("Margins top, bottom:"), tb);
  for (QDoubleSpinBox *box : {edtLeft_, edtTop_, edtRight_, edtBottom_})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { applyPage(); });
  const TBandKind kinds[] = {TBandKind::PageHeader, TBandKind::Data, TBandKind::PageFooter};
  for (TBandKind kind : kinds) {
    QDoubleSpinBox *box = lengthBox(QStringLiteral("edtBand") + BandKindName(kind), 2000);
    edtBand_[int(kind)] = box;
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, kind](double height) {
      if (refreshing_) return;
      editor_.SetBandHeight(kind, height);
      changed();
    });
    form->addRow(BandCaption(kind) + QStringLiteral(" height:"), box);
  }
  return group;
}

void TfrmDesigner::changed() {
  canvas_->updateGeometry();
  canvas_->resize(canvas_->sizeHint());
  canvas_->update();
  refresh();
}

void TfrmDesigner::refresh() {
  refreshing_ = true;
  const TReportObject *o = editor_.Selected();
  grpObject_->setEnabled(o);
  actDelete_->setEnabled(o);
  actUndo_->setEnabled(editor_.CanUndo());
  const bool text = o && o->kind == TObjectKind::Text;
  for (QWidget *w :
       std::initializer_list<QWidget *>{edtText_, cbxVariable_, btnFont_, cbxAlign_, chkFrame_})
    w->setEnabled(text);
  if (!edtText_->hasFocus() || !text)
    edtText_->setPlainText(text ? o->lines.join(u'\n') : QString());
  cbxAlign_->setCurrentIndex(text ? int(o->align) : 0);
  const QString warning = text ? FontWarning(*o) : QString();
  lblFontWarning_->setText(warning);
  lblFontWarning_->setVisible(!warning.isEmpty());
  chkFrame_->setChecked(text && o->frame);
  const QRectF r = o ? o->rect : QRectF();
  edtX_->setValue(r.x());
  edtY_->setValue(r.y());
  edtW_->setValue(r.width());
  edtH_->setValue(r.height());
  const TPageSetup &page = editor_.Template().page;
  cbxSize_->setCurrentText(page.size);
  cbxOrientation_->setCurrentIndex(page.landscape ? 1 : 0);
  edtLeft_->setValue(page.left);
  edtTop_->setValue(page.top);
  edtRight_->setValue(page.right);
  edtBottom_->setValue(page.bottom);
  for (TBandKind kind : {TBandKind::PageHeader, TBandKind::Data, TBandKind::PageFooter}) {
    const TReportBand *band = editor_.Template().Band(kind);
    edtBand_[int(kind)]->setValue(band ? band->height : 0);
  }
  refreshing_ = false;
}

void TfrmDesigner::applyGeometry() {
  const TReportObject *o = editor_.Selected();
  if (refreshing_ || !o) return;
  editor_.MoveBy(edtX_->value() - o->rect.x(), edtY_->value() - o->rect.y());
  editor_.ResizeBy(edtW_->value() - o->rect.width(), edtH_->value() - o->rect.height());
  changed();
}

void TfrmDesigner::applyPage() {
  if (refreshing_) return;
  TPageSetup page = editor_.Template().page;
  page.size = cbxSize_->currentText();
  page.landscape = cbxOrientation_->currentIndex() == 1;
  page.left = edtLeft_->value();
  page.top = edtTop_->value();
  page.right = edtRight_->value();
  page.bottom = edtBottom_->value();
  editor_.SetPage(page);
  changed();
}

void TfrmDesigner::chooseFont() {
  const TReportObject *o = editor_.Selected();
  if (!o) return;
  bool ok = false;
  const QFont chosen =
      QFontDialog::getFont(&ok, TTextMeasure::ToQFont(o->font), this, QStringLiteral("Font"));
  if (!ok) return;
  TReportFont font = o->font;
  font.name = chosen.family();
  font.size = chosen.pointSizeF() > 0 ? chosen.pointSizeF() : font.size;
  font.bold = chosen.bold();
  font.italic = chosen.italic();
  editor_.SetFont(font);
  changed();
}

void TfrmDesigner::chooseColor() {
  const TReportObject *o = editor_.Selected();
  if (!o) return;
  const QColor color = QColorDialog::getColor(o->font.color, this, QStringLiteral("Colour"));
  if (!color.isValid()) return;
  TReportFont font = o->font;
  font.color = color;
  editor_.SetFont(font);
  changed();
}

void TfrmDesigner::insertVariable(int index) {
  const QString name = cbxVariable_->itemData(index).toString();
  cbxVariable_->setCurrentIndex(0);
  if (name.isEmpty() || !editor_.Selected()) return;
  edtText_->setFocus();
  edtText_->insertPlainText(QLatin1Char('[') + name + QLatin1Char(']'));
}
