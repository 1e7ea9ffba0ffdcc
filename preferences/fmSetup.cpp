// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/fmSetup.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "documents/ui/EditHost.h"
#include "platform/ui/Glyphs.h"
#include "preferences/Hints.h"
#include "preferences/MailFields.h"
#include "preferences/PageManager.h"
#include "preferences/PreferencesContext.h"
#include "settings/core/RootKey.h"
#include "settings/core/SettingsError.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/ToolBarLayout.h"

namespace {

QLabel *Text(QWidget *parent, const QString &text, const char *name = nullptr) {
  auto *label = new QLabel(text, parent);
  if (name) label->setObjectName(QString::fromLatin1(name));
  label->setWordWrap(true);
  return label;
}

QLabel *Heading(QWidget *parent, const QString &text, int pixels, const char *name = nullptr) {
  QLabel *label = Text(parent, text, name);
  QFont font = label->font();
  font.setPixelSize(pixels);
  font.setBold(true);
  label->setFont(font);
  return label;
}

QString ToolBarText(QToolBar *bar) { return ToolBarLayout::OptionsAccessor(bar)->Text(); }

}  // namespace

const QList<std::pair<QString, QString>> &TfrmSetup::StyleSections() {
  static const QList<std::pair<QString, QString>> sections = {
      {QStringLiteral("Preferences"), QStringLiteral("barTools_Options")},
      {QStringLiteral("Email Form"), QStringLiteral("barMail_Options")},
      {QStringLiteral("Email Addresses"), QStringLiteral("barAddress_Options")},
      {QStringLiteral("Properties"), QStringLiteral("barProperties_Options")},
      {QStringLiteral("About"), QStringLiteral("barAbout_Options")},
      {QStringLiteral("Special Characters"), QStringLiteral("barTools_Options")},
  };
  return sections;
}

TfrmSetup::TfrmSetup(QWidget &main, QWidget *parent) : QDialog(parent), main_(main) {
  setObjectName(QStringLiteral("frmSetup"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);
  Hints::SetHelp(this, 1000);
  nbkSetup = new QStackedWidget(this);
  nbkSetup->setObjectName(QStringLiteral("nbkSetup"));
  btnPrevious = new QPushButton(QStringLiteral("<< Previous"), this);
  btnPrevious->setObjectName(QStringLiteral("btnPrevious"));
  btnNext = new QPushButton(QStringLiteral("Next >>"), this);
  btnNext->setObjectName(QStringLiteral("btnNext"));
  btnNext->setDefault(true);
  btnFinish = new QPushButton(QStringLiteral("Finish"), this);
  btnFinish->setObjectName(QStringLiteral("btnFinish"));
  btnFinish->setEnabled(false);

  pagSetup = new TPageManager(nbkSetup, btnNext, btnPrevious, this);
  pagSetup->setObjectName(QStringLiteral("pagSetup"));
  pagSetup->AddPage(QStringLiteral("Start Setup"), startPage());
  pagSetup->AddPage(QStringLiteral("Button Setup"), buttonPage());
  pagSetup->AddPage(QStringLiteral("Network Setup"), networkPage());
  pagSetup->AddPage(QStringLiteral("End Setup"), endPage());
  connect(pagSetup, &TPageManager::PageChanged, this, [this] {
    btnFinish->setEnabled(pagSetup->ActivePageName() == QLatin1String("End Setup"));
  });
  pagSetup->Start();
  connect(btnFinish, &QPushButton::clicked, this, [this] { btnFinishClick(); });

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnPrevious);
  buttons->addWidget(btnNext);
  buttons->addSpacing(12);
  buttons->addWidget(btnFinish);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(nbkSetup, 1);
  layout->addLayout(buttons);
  setMinimumSize(448, 345);
  resize(sizeHint().expandedTo(QSize(448, 345)));
}

void TfrmSetup::Run(QWidget &main, TEditHost &host) {
  const TTopMostPause pause(host);
  TfrmSetup wizard(main, &main);
  wizard.exec();
}

QWidget *TfrmSetup::startPage() {
  auto *page = new QWidget(nbkSetup);
  auto *icon = new QLabel(page);
  TGlyphList::Shared();  // the program's pictures are loaded with the glyphs
  icon->setPixmap(QPixmap(QStringLiteral(":/vellumix/vellumix.png"))
                      .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  lbl1stContact = Heading(page, QString(), 48, "lbl1stContact");
  lblWelcome = Text(page, QString(), "lblWelcome");
  lblWizard = Text(page, QString(), "lblWizard");
  auto *top = new QHBoxLayout;
  top->addWidget(icon);
  top->addWidget(lbl1stContact, 1);
  auto *layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(lblWelcome);
  layout->addWidget(lblWizard);
  layout->addStretch();
  layout->addWidget(
      Text(page, QStringLiteral("Please click on Next to continue."), "lblClickNext"));
  return page;
}

QWidget *TfrmSetup::buttonPage() {
  auto *page = new QWidget(nbkSetup);
  auto *style = new QGroupBox(QStringLiteral("Style"), page);
  radExplore = new QRadioButton(QStringLiteral("IExplorer Style"), style);
  radExplore->setObjectName(QStringLiteral("radExplore"));
  radStandard = new QRadioButton(QStringLiteral("Standard Style"), style);
  radStandard->setObjectName(QStringLiteral("radStandard"));
  radExplore->setChecked(true);
  auto *styleLayout = new QVBoxLayout(style);
  styleLayout->addWidget(radExplore);
  styleLayout->addWidget(radStandard);
  connect(radExplore, &QRadioButton::toggled, this, [this](bool on) {
    if (on) SetSampleFlat(true);
  });
  connect(radStandard, &QRadioButton::toggled, this, [this](bool on) {
    if (on) SetSampleFlat(false);
  });

  barSetup = new QToolBar(page);
  barSetup->setObjectName(QStringLiteral("barSetup"));
  const TGlyphList &glyphs = TGlyphList::Shared();
  for (int glyph : {0, 1, 2})
    barSetup->addAction(glyphs.Icon(glyph), QString())
        ->setObjectName(QStringLiteral("btnSample%1").arg(glyph));
  SetSampleFlat(true);

  auto *middle = new QHBoxLayout;
  middle->addWidget(style);
  middle->addWidget(barSetup, 0, Qt::AlignCenter);
  middle->addStretch();
  auto *layout = new QVBoxLayout(page);
  layout->addWidget(Heading(page, QStringLiteral("Tool Bar Setup"), 32));
  layout->addWidget(Text(
      page, QStringLiteral("Choose which type of tool bar you wish to have as your default.")));
  layout->addLayout(middle);
  layout->addStretch();
  // clang-format off
  layout->addWidget(Text(page, QStringLiteral("Tool bars can be modified on a form by form basis by right-clicking on the toolbar and then  selecting your choices.")));
  // clang-format on
  return page;
}

QWidget *TfrmSetup::networkPage() {
  auto *page = new QWidget(nbkSetup);
  mail = new TMailFields(main_, page);
  QFont heading = font();
  heading.setBold(true);
  heading.setPixelSize(20);
  QLabel *title = Text(page, QStringLiteral("Mail Setup"));
  title->setFont(heading);
  auto *layout = new QVBoxLayout(page);
  layout->addWidget(title);
  layout->addWidget(mail, 1);
  return page;
}

QWidget *TfrmSetup::endPage() {
  auto *page = new QWidget(nbkSetup);
  lblSetupProper = Text(page, QString(), "lblSetupProper");
  lblStartInfo = Text(page, QString(), "lblStartInfo");
  auto *layout = new QVBoxLayout(page);
  layout->addWidget(Heading(page, QStringLiteral("Finished"), 32));
  layout->addWidget(lblSetupProper);
  layout->addWidget(lblStartInfo);
  layout->addStretch();
  layout->addWidget(
      Text(page, QStringLiteral("Please click on Finish to complete the setup."), "lblFinishInfo"));
  return page;
}

void TfrmSetup::SetSampleFlat(bool flat) {
  ToolBarLayout::OptionsAccessor(barSetup)->SetText(flat ? QStringLiteral("[sbFlatBtns]")
                                                         : QStringLiteral("[]"));
}

void TfrmSetup::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  FormShow();
}

void TfrmSetup::FormShow() {
  if (auto *bar = main_.findChild<QToolBar *>(QStringLiteral("barMCustom")))
    ToolBarLayout::OptionsAccessor(barSetup)->SetText(ToolBarText(bar));
  const auto *standard = main_.findChild<QAction *>(QStringLiteral("mniStandard"));
  const auto *explore = main_.findChild<QAction *>(QStringLiteral("mniExplore"));
  if (standard && standard->isChecked()) radStandard->setChecked(true);
  if (explore && explore->isChecked()) radExplore->setChecked(true);
  mail->Load();
  setWindowTitle(ProductName + QStringLiteral(" Setup..."));
  lbl1stContact->setText(ProductName);
  lblWelcome->setText(QStringLiteral("Welcome to the ") + ProductName +
                      QStringLiteral(" Setup Wizard."));
  // clang-format off
  lblWizard->setText(QStringLiteral("The next few screens will allow you to set up your button bars and set your outgoing mail server so you can take advantage of the many features in ") + ProductName + u'.');
  lblStartInfo->setText(QStringLiteral("Should you wish to make changes to the ") + ProductName + QStringLiteral(" setup in the future, please go to Options|Preferences in the main menu, where all of these options can be modified."));
  // clang-format on
  lblSetupProper->setText(ProductName + QStringLiteral(" has been successfully configured."));
}

void TfrmSetup::btnFinishClick() {
  mail->Save();
  accept();
}

void TfrmSetup::done(int result) {
  if (!closed_) {
    closed_ = true;
    FormClose();
  }
  QDialog::done(result);
}

void TfrmSetup::FormClose() {
  const bool flat = radExplore->isChecked();
  if (auto *item = main_.findChild<QAction *>(flat ? QStringLiteral("mniExplore")
                                                   : QStringLiteral("mniStandard")))
    item->trigger();
  const QString style = flat ? QStringLiteral("[sbFlatBtns]") : QStringLiteral("[]");
  const QString on = QStringLiteral("True"), off = QStringLiteral("False");
  try {
    TRootKey root;
    for (const auto &[section, options] : StyleSections())
      root.WriteString(section, options, style);
    for (const auto &[section, bar] : StyleSections()) {
      root.WriteString(section, QStringLiteral("mniExplore_Checked"), flat ? on : off);
      root.WriteString(section, QStringLiteral("mniStandard_Checked"), flat ? off : on);
    }
    root.Close();
  } catch (const ESettingsError &error) {
    TFormStorage::Report(error.Message());
  }
}
