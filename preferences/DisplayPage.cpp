// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/DisplayPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "documents/ui/EditHost.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/gui/WinColor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ReportErrors.h"
#include "preferences/ColorBox.h"
#include "preferences/Hints.h"
#include "settings/core/RootKey.h"
#include "settings/ui/Holder.h"

namespace {

template <typename T>
T *Named(QWidget *parent, const char *name, const QString &caption, const QString &hint,
         int help = 0) {
  auto *control = new T(caption, parent);
  control->setObjectName(QString::fromLatin1(name));
  Hints::Set(control, hint);
  if (help) Hints::SetHelp(control, help);
  Hints::PressEnterKey(control);
  return control;
}

TColorBox *ColorBox(QWidget *parent, const char *name, int tag, const QString &hint, int help) {
  auto *box = new TColorBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setProperty("Tag", tag);
  Hints::Set(box, hint);
  Hints::SetHelp(box, help);
  Hints::PressEnterKey(box);
  return box;
}

}  // namespace

QString FontStyleText(const QFont &font) {
  QString text;
  if (font.bold()) text += QStringLiteral("fsBold,");
  if (font.italic()) text += QStringLiteral("fsItalic,");
  if (font.underline()) text += QStringLiteral("fsUnderline,");
  if (font.strikeOut()) text += QStringLiteral("fsStrikeout");
  if (text.endsWith(u',')) text.chop(1);
  return u'[' + text + u']';
}

TDisplayPage::TDisplayPage(const TPreferencesContext &context, const bool &active, QWidget *parent)
    : QWidget(parent), context_(context), active_(active) {
  setObjectName(QStringLiteral("tabDisplay"));

  auto *state = new QGroupBox(QStringLiteral("Display Edit Form"), this);
  Hints::SetHelp(state, 1126);
  radMax = Named<QRadioButton>(state, "radMax", QStringLiteral("Maximized"),
                               QStringLiteral("|New workspaces are created maximized"));
  radMin = Named<QRadioButton>(state, "radMin", QStringLiteral("Minimized"),
                               QStringLiteral("|New workspaces are created minimized"));
  radNorm = Named<QRadioButton>(state, "radNorm", QStringLiteral("Normal"),
                                QStringLiteral("|New workspaces are created as normal forms"));
  radMax->setChecked(true);
  auto *stateLayout = new QVBoxLayout(state);
  int tag = 0;
  for (QRadioButton *radio : {radMax, radMin, radNorm}) {
    stateLayout->addWidget(radio);
    connect(radio, &QRadioButton::toggled, this, [this, tag](bool on) {
      if (on) UpdateEditDisplay(tag);
    });
    ++tag;
  }

  auto *colors = new QGroupBox(QStringLiteral("Default Colors"), this);
  cbxMScreen = ColorBox(colors, "cbxMScreen", 0,
                        QStringLiteral("|Set the main screen background color"), 1128);
  cbxEScreen = ColorBox(colors, "cbxEScreen", 1,
                        QStringLiteral("|Set the edit screen default background color"), 1129);
  cbxFHigh = ColorBox(colors, "cbxFHigh", 2,
                      QStringLiteral("|Set the default find/replace highlight color"), 1130);
  cbxMScreen->SetSelectedColor(WinColor::clSilver);
  cbxEScreen->SetSelectedColor(WinColor::clWhite);
  cbxFHigh->SetSelectedColor(WinColor::clBlue);
  auto *colorLayout = new QGridLayout(colors);
  tag = 0;
  for (auto [caption, box] : {std::pair{"Main Screen:", cbxMScreen},
                              {"Edit Screen:", cbxEScreen},
                              {"Find Highlight:", cbxFHigh}}) {
    colorLayout->addWidget(new QLabel(QString::fromLatin1(caption), colors), tag, 0);
    colorLayout->addWidget(box, tag, 1);
    connect(box, &TColorBox::ColorChanged, this, [this, tag] { UpdateDisplayColors(tag); });
    ++tag;
  }

  auto *font = new QGroupBox(QStringLiteral("Default Editor Font"), this);
  Hints::SetHelp(font, 1127);
  lblFont = new QLabel(font);
  lblFont->setObjectName(QStringLiteral("lblFont"));
  lblFont->setAutoFillBackground(true);
  lblFont->setAlignment(Qt::AlignCenter);
  lblFont->setFrameShape(QFrame::StyledPanel);
  lblFont->setMinimumHeight(34);
  btnFont = Named<QPushButton>(font, "btnFont", QStringLiteral("Change..."),
                               QStringLiteral("Change the default editor font..."));
  btnFont->setFlat(true);
  chkFontPrint = Named<QCheckBox>(font, "chkFontPrint", QStringLiteral("Use to Print"),
                                  QStringLiteral("|Use this font when printing"));
  chkFontPrint->setChecked(true);
  auto *fontLayout = new QGridLayout(font);
  fontLayout->addWidget(lblFont, 0, 0, 1, 2);
  fontLayout->addWidget(btnFont, 1, 0);
  fontLayout->addWidget(chkFontPrint, 1, 1);

  chkShowSelBar =
      Named<QCheckBox>(this, "chkShowSelBar", QStringLiteral("Show Selection Bar"),
                       QStringLiteral("|Show selection bar at the left of the workspace"), 1136);
  chkMRUYes =
      Named<QCheckBox>(this, "chkMRUYes", QStringLiteral("Show most recently used list"),
                       QStringLiteral("|Show the most recently used list on the main menu"), 1131);
  chkFAVYes =
      Named<QCheckBox>(this, "chkFAVYes", QStringLiteral("Show favorite files list"),
                       QStringLiteral("|Show the favorite files list on the main menu"), 1132);
  for (QCheckBox *box : {chkShowSelBar, chkMRUYes, chkFAVYes}) box->setChecked(true);
  edtUndo = new QSpinBox(this);
  edtUndo->setObjectName(QStringLiteral("edtUndo"));
  edtUndo->setRange(0, 1000);
  Hints::Set(edtUndo, QStringLiteral("|Set the maximum times to undo text operations"));
  Hints::SetHelp(edtUndo, 1137);
  Hints::PressEnterKey(edtUndo);

  auto *undo = new QHBoxLayout;
  undo->addWidget(new QLabel(QStringLiteral("Maximum Undo"), this));
  undo->addWidget(edtUndo);
  undo->addStretch();
  auto *left = new QVBoxLayout;
  left->addWidget(state);
  left->addWidget(colors);
  left->addStretch();
  auto *right = new QVBoxLayout;
  right->addWidget(font);
  right->addWidget(chkShowSelBar);
  right->addWidget(chkMRUYes);
  right->addWidget(chkFAVYes);
  right->addLayout(undo);
  right->addStretch();
  auto *layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right, 1);

  connect(btnFont, &QPushButton::clicked, this,
          [this] { ReportErrors(this, [this] { DefaultEditorFont(); }); });
  connect(chkFontPrint, &QCheckBox::toggled, this, [this](bool on) {
    if (active_) context_.Holder("PrintFont").SetChecked(on);
  });
  connect(chkShowSelBar, &QCheckBox::toggled, this, [this] { ShowSelBarClick(); });
  connect(chkMRUYes, &QCheckBox::toggled, this, [this] { UpdateMenuDisplay(0); });
  connect(chkFAVYes, &QCheckBox::toggled, this, [this] { UpdateMenuDisplay(1); });
  connect(edtUndo, &QSpinBox::valueChanged, this, [this] { UndoChange(); });
}

void TDisplayPage::FormShow() {
  openingColor_ = cbxEScreen->SelectedColor();
  ShowFontCaption();
}

void TDisplayPage::SetFlat(bool flat) { btnFont->setFlat(flat); }

void TDisplayPage::ShowFontCaption() {
  const QFont font = lblFont->font();
  lblFont->setText(font.family() + QStringLiteral(" - ") + QString::number(font.pointSize()) +
                   QStringLiteral(" pt"));
}

void TDisplayPage::Inform(const QString &text) {
  MessageBox::Show(this, MessageBox::MsgHeader() + text, TMsgKind::Information, TMsgButtons::Ok);
}

void TDisplayPage::UpdateEditDisplay(int tag) {
  context_.Holder("EditDisplay").SetCaption(QString::number(tag));
}

void TDisplayPage::UpdateDisplayColors(int tag) {
  if (!active_) return;
  if (tag == 0) {
    const int value = cbxMScreen->SelectedColor();
    context_.Holder("SMTPHost").SetColor(value);
    if (auto *area = context_.main.findChild<QMdiArea *>())
      area->setBackground(WinColor::ToQColor(value));
    // A pixel wider makes the frame lay itself out and repaint.
    context_.main.resize(context_.main.width() + 1, context_.main.height());
  } else if (tag == 1) {
    const QList<TfrmEdit *> windows = context_.editWindows();
    const int value = cbxEScreen->SelectedColor();
    if (windows.isEmpty()) {
      Inform(QStringLiteral("You must have an open workspace in order to change the color."));
      const QSignalBlocker block(cbxEScreen);
      cbxEScreen->SetSelectedColor(openingColor_);
      return;
    }
    const QColor color = WinColor::ToQColor(value);
    for (TfrmEdit *window : windows) window->mmoMemo()->SetColor(color);
    QPalette palette = lblFont->palette();
    palette.setColor(QPalette::Window, color);
    lblFont->setPalette(palette);
    TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_Color"), QString::number(value));
  } else {
    context_.Holder("lblDate").SetColor(cbxFHigh->SelectedColor());
  }
}

void TDisplayPage::DefaultEditorFont() {
  const QList<TfrmEdit *> windows = context_.editWindows();
  if (windows.isEmpty()) {
    Inform(QStringLiteral("You must have an open workspace in order to change the font."));
    return;
  }
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, lblFont->font(), this, QStringLiteral("Font"));
  if (!ok) return;
  for (TfrmEdit *window : context_.editWindows()) window->mmoMemo()->SetEditFont(font);
  lblFont->setFont(font);
  ShowFontCaption();
  const int points =
      font.pointSize() > 0 ? font.pointSize() : qRound(font.pixelSize() * 72.0 / 96.0);
  // The stored text colour is kept: the font dialog does not choose one.
  const QString fontColor =
      TRootKey().ReadString(QStringLiteral("Edit Form"), QStringLiteral("mmoMemo_FontColor"),
                            QString::number(WinColor::clWindowText));
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_FontHeight"),
                                        QString::number(-qRound(points * 96.0 / 72.0)));
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_FontName"), font.family());
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_FontColor"), fontColor);
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_FontSize"),
                                        QString::number(points));
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_FontStyle"), FontStyleText(font));
  Inform(QStringLiteral("This ONLY changes the display font in ") + ProductName +
         QStringLiteral(". To change the printer fonts you must go to File|Customize Print Out... "
                        "on the Main Menu."));
}

void TDisplayPage::UpdateMenuDisplay(int tag) {
  if (tag == 0)
    context_.Holder("ShowMRU").SetChecked(chkMRUYes->isChecked());
  else
    context_.Holder("ShowFavFiles").SetChecked(chkFAVYes->isChecked());
}

void TDisplayPage::ShowSelBarClick() {
  if (!active_) return;
  const bool on = chkShowSelBar->isChecked();
  for (TfrmEdit *window : context_.editWindows()) window->mmoMemo()->SetSelectionBar(on);
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_SelectionBar"),
                                        on ? QStringLiteral("True") : QStringLiteral("False"));
}

void TDisplayPage::UndoChange() {
  if (!active_) return;
  const int limit = edtUndo->value();
  for (TfrmEdit *window : context_.editWindows()) window->mmoMemo()->SetUndoLimit(limit);
  TPreferencesContext::WriteEditSetting(QStringLiteral("mmoMemo_UndoLimit"),
                                        QString::number(limit));
}
