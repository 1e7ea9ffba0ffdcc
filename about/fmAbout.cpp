// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/fmAbout.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolBar>
#include <QVBoxLayout>

#include "about/SysInfoComp.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/Fonts.h"
#include "settings/ui/FormStorage.h"

TfrmAbout::TfrmAbout(const TProduct &product, const TSysInfoComp &info,
                     std::function<void()> checkVersion, const QIcon &exitGlyph, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      product_(product),
      info_(info),
      checkVersion_(std::move(checkVersion)) {
  setObjectName(QStringLiteral("frmAbout"));
  // The box has no title bar; its title still names it to the task bar and assistive tools.
  setWindowTitle(QStringLiteral("About ") + product_.name);
  setAccessibleName(windowTitle());
  setFixedSize(299, 440);
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 11));

  auto *border = new QVBoxLayout(this);
  border->setContentsMargins(0, 0, 0, 0);
  auto *frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  border->addWidget(frame);
  auto *layout = new QVBoxLayout(frame);

  lblName_ = new QLabel(frame);
  lblName_->setObjectName(QStringLiteral("lblName"));
  lblName_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblName_->setFont(Fonts::Face(QStringLiteral("Arial Narrow"), 28, true));
  lblVersion_ = new QLabel(frame);
  lblVersion_->setObjectName(QStringLiteral("lblVersion"));
  lblVersion_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  imgAbout_ = new QLabel(frame);
  imgAbout_->setObjectName(QStringLiteral("imgAbout"));
  imgAbout_->setAlignment(Qt::AlignCenter);
  imgAbout_->setPixmap(product_.icon.pixmap(128, 128));
  layout->addWidget(lblName_);
  layout->addWidget(lblVersion_);
  layout->addWidget(imgAbout_, 1);

  auto *grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  lblFreeGDI_ = AddLine(grid, 0, "lblGDI", QStringLiteral("Processor Level:"), "lblFreeGDI");
  lblFreeUser_ = AddLine(grid, 1, "lblSystem", QStringLiteral("Processor Type:"), "lblFreeUser");
  lblFreeSystem_ = AddLine(grid, 2, "lblUser", QStringLiteral("Physical Memory:"), "lblFreeSystem");
  lblDisBuild_ = AddLine(grid, 3, "lblBuild", QStringLiteral("Platform:"), "lblDisBuild");
  lblOSVersion_ = AddLine(grid, 4, "lblVer", QStringLiteral("Version:"), "lblOSVersion");
  lblOSBuild_ = AddLine(grid, 5, "lblVerBuild", QStringLiteral("Build:"), "lblOSBuild");
  layout->addLayout(grid);

  lblURL_ = new QLabel(frame);
  lblURL_->setObjectName(QStringLiteral("lblURL"));
  lblURL_->setAlignment(Qt::AlignCenter);
  QFont link = lblURL_->font();
  link.setBold(true);
  link.setUnderline(true);
  lblURL_->setFont(link);
  QPalette blue = lblURL_->palette();
  blue.setColor(QPalette::WindowText, Qt::blue);
  lblURL_->setPalette(blue);
  lblURL_->setCursor(Qt::PointingHandCursor);
  // A hint of the form "pop-up|status bar": this one has only its status-bar part.
  const QString hint = QStringLiteral("|Click here to connect to our web-site...");
  lblURL_->setStatusTip(hint.section(u'|', 1));
  lblURL_->installEventFilter(this);
  layout->addWidget(lblURL_);

  FormCreate(exitGlyph);
  layout->addWidget(barAbout_);
}

TfrmAbout::~TfrmAbout() { strAbout_->FormDestroying(); }

QLabel *TfrmAbout::AddLine(QGridLayout *grid, int row, const char *captionName,
                           const QString &caption, const char *valueName) {
  auto *label = new QLabel(caption);
  label->setObjectName(QString::fromLatin1(captionName));
  auto *value = new QLabel;
  value->setObjectName(QString::fromLatin1(valueName));
  grid->addWidget(label, row, 0);
  grid->addWidget(value, row, 1);
  return value;
}

void TfrmAbout::FormCreate(const QIcon &exitGlyph) {
  barAbout_ = new QToolBar(this);
  barAbout_->setObjectName(QStringLiteral("barAbout"));
  barAbout_->setMovable(false);
  barAbout_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction *btnOK = barAbout_->addAction(exitGlyph, QStringLiteral("Exit"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setToolTip(QStringLiteral("Close About ") + product_.name);
  connect(btnOK, &QAction::triggered, this, &QDialog::accept);  // UpdateButtons
  pumToolBar_ = new TBarStyleMenu(
      barAbout_,
      {QStringLiteral("I&Explorer Style"), QStringLiteral("Display too bar with flat buttons"),
       QStringLiteral("S&tandard Style"), QStringLiteral("Display tool bar with raised buttons")});

  strAbout_ = new TFormStorage(this);
  strAbout_->IniSection = QStringLiteral("About");
  strAbout_->SetStoredProps(
      {QStringLiteral("barAbout.Options"), QStringLiteral("mniExplore.Checked"),
       QStringLiteral("mniStandard.Checked")},
      {{QStringLiteral("barAbout_Options"), QStringLiteral("[sbFlatBtns]")},
       {QStringLiteral("mniExplore_Checked"), QStringLiteral("True")},
       {QStringLiteral("mniStandard_Checked"), QStringLiteral("False")}});
}

void TfrmAbout::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TfrmAbout::FormActivate() {
  lblName_->setText(product_.name);
  lblVersion_->setText(u'v' + product_.version + QStringLiteral(" for Linux"));
  lblFreeGDI_->setText(TSysInfoComp::ArchitectureText(info_.siProcessorArchitecture()));
  lblFreeUser_->setText(QString::number(info_.siProcessorType()));
  lblFreeSystem_->setText(TSysInfoComp::MemoryText(info_.msTotalPhys()));
  lblDisBuild_->setText(TSysInfoComp::PlatformText(info_.osPlatformId()));
  lblOSVersion_->setText(info_.VersionText());
  lblOSBuild_->setText(QString::number(info_.osBuildNumber()));
  lblURL_->setText(product_.webSite);
}

void TfrmAbout::CheckVersion() {
  if (checkVersion_) checkVersion_();
}

bool TfrmAbout::eventFilter(QObject *watched, QEvent *event) {
  if (watched == lblURL_ && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
    CheckVersion();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
