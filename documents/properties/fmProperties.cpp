// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/properties/fmProperties.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMimeDatabase>
#include <QPainter>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "documents/core/SaveNames.h"
#include "documents/properties/FileFacts.h"
#include "documents/ui/EditHost.h"
#include "documents/ui/RichEdit.h"
#include "documents/ui/fmEdit.h"
#include "platform/core/Folders.h"
#include "platform/ui/BarStyleMenu.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/PanelStatusBar.h"
#include "settings/ui/FormStorage.h"

namespace {

const QString Untitled = QStringLiteral("untitled.txt");

QFrame *Line(QWidget *parent) {
  auto *line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QLabel *Named(const char *name, QWidget *parent) {
  auto *label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// The large icon the desktop gives for a file's type, or none.
QIcon TypeIcon(const QString &path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
  QIcon icon = QIcon::fromTheme(type.iconName());
  if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
  return icon;
}

}  // namespace

TfrmProperties::TfrmProperties(const TPropertiesSource &source, const QDateTime &now,
                               const QIcon &closeGlyph, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmProperties"));
  setFont(Fonts::Face(QStringLiteral("MS Sans Serif"), 11));
  resize(361, 396);

  auto *layout = new QVBoxLayout(this);
  auto *nbkProperties = new QTabWidget(this);
  nbkProperties->setObjectName(QStringLiteral("nbkProperties"));
  auto *page = new QWidget(nbkProperties);
  BuildGeneralPage(page);
  nbkProperties->addTab(page, QStringLiteral("General"));
  layout->addWidget(nbkProperties);

  barProperties_ = new QToolBar(this);
  barProperties_->setObjectName(QStringLiteral("barProperties"));
  // A hint of the form "pop-up|status bar": this one has only its status-bar part.
  const QString hint = QStringLiteral("|Right-click for toolbar options");
  barProperties_->setStatusTip(hint.section(u'|', 1));
  barProperties_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  barProperties_->setMovable(false);
  QAction *btnOK = barProperties_->addAction(closeGlyph, QStringLiteral("Close"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setToolTip(QStringLiteral("Close properties"));
  connect(btnOK, &QAction::triggered, this, &QDialog::accept);
  layout->addWidget(barProperties_);
  pumToolBar_ = new TBarStyleMenu(
      barProperties_,
      {QStringLiteral("I&Explorer Style"), QStringLiteral("Display tool bars with flat buttons"),
       QStringLiteral("&Standard Style"), QStringLiteral("Display tool bars with raised buttons")});

  strProperties_ = new TFormStorage(this);
  strProperties_->IniSection = QStringLiteral("Properties");
  strProperties_->SetStoredProps(
      {QStringLiteral("mniExplore.Checked"), QStringLiteral("mniStandard.Checked"),
       QStringLiteral("barProperties.Options")},
      {{QStringLiteral("mniExplore_Checked"), QStringLiteral("True")},
       {QStringLiteral("mniStandard_Checked"), QStringLiteral("False")},
       {QStringLiteral("barProperties_Options"), QStringLiteral("[sbFlatBtns]")}});

  Fill(source, now);
}

TfrmProperties::~TfrmProperties() { strProperties_->FormDestroying(); }

void TfrmProperties::BuildGeneralPage(QWidget *page) {
  auto *layout = new QVBoxLayout(page);
  auto *head = new QHBoxLayout;
  imgProperties_ = Named("imgProperties", page);
  imgProperties_->setFixedSize(34, 34);
  lblFileName_ = Named("lblFileName", page);
  head->addWidget(imgProperties_);
  head->addSpacing(12);
  head->addWidget(lblFileName_, 1);
  layout->addLayout(head);

  // One grid for both groups of rows, so every value starts at the same column.
  auto *grid = new QGridLayout;
  grid->setHorizontalSpacing(16);
  grid->setColumnStretch(1, 1);
  struct TRow {
    const char *name;
    const char *caption;
    QLabel **label;
  };
  auto addRows = [&](std::initializer_list<TRow> rows) {
    grid->addWidget(Line(page), grid->rowCount(), 0, 1, 2);
    for (const TRow &row : rows) {
      const int at = grid->rowCount();
      *row.label = Named(row.name, page);
      (*row.label)->setWordWrap(true);
      auto *caption = new QLabel(QString::fromLatin1(row.caption), page);
      caption->setBuddy(*row.label);
      grid->addWidget(caption, at, 0, Qt::AlignLeft | Qt::AlignTop);
      grid->addWidget(*row.label, at, 1, Qt::AlignTop);
    }
  };
  addRows({{"lblType", "Type:", &lblType_},
           {"lblLocation", "Location:", &lblLocation_},
           {"lblSize", "Size:", &lblSize_}});
  addRows({{"lblCreated", "First Created:", &lblCreated_},
           {"lblModified", "Last Modified:", &lblModified_},
           {"lblAccessed", "Accessed:", &lblAccessed_}});
  layout->addLayout(grid);

  layout->addWidget(Line(page));
  auto *attributes = new QGridLayout;
  auto check = [&](const char *name, const QString &caption, int row, int column) {
    auto *box = new QCheckBox(caption, page);
    box->setObjectName(QString::fromLatin1(name));
    attributes->addWidget(box, row, column);
    return box;
  };
  chkReadOnly_ = check("chkReadOnly", QStringLiteral("ReadOnly"), 0, 0);
  chkHidden_ = check("chkHidden", QStringLiteral("Hidden"), 0, 1);
  chkSystem_ = check("chkSystem", QStringLiteral("System"), 1, 0);
  chkArchive_ = check("chkArchive", QStringLiteral("Archive"), 1, 1);
  layout->addLayout(attributes);
  layout->addStretch(1);
}

void TfrmProperties::Fill(const TPropertiesSource &source, const QDateTime &now) {
  const bool untitled = source.caption == Untitled;
  const TFileFacts facts = untitled ? TFileFacts() : FileFacts::Read(source.fileName);
  const QString nowText = FileFacts::DateText(FileFacts::TwoSecondResolution(now));
  if (untitled) {
    lblCreated_->setText(nowText);
    lblModified_->setText(nowText);
    lblAccessed_->setText(nowText);
  } else if (facts.exists) {
    lblCreated_->setText(FileFacts::DateText(facts.created));
    lblModified_->setText(FileFacts::DateText(facts.modified));
    lblAccessed_->setText(nowText);
  }
  lblType_->setText(QStringLiteral("Text Document"));
  lblFileName_->setText(source.caption);
  lblSize_->setText(TfrmEdit::SizeText(source.length));
  // The status panel sets an untitled document's name off with blanks; the folder has none.
  lblLocation_->setText(Folders::FolderOf(SaveNames::FromPanelText(source.fileName)));
  setWindowTitle(source.caption + QStringLiteral(" - Properties"));
  chkReadOnly_->setChecked(facts.readOnly);
  chkHidden_->setChecked(facts.hidden);
  chkSystem_->setChecked(facts.system);
  chkArchive_->setChecked(facts.archive);
}

void TfrmProperties::showEvent(QShowEvent *event) {
  QDialog::showEvent(event);
  FormShow();
}

void TfrmProperties::FormShow() {
  const QString path = lblLocation_->text() + lblFileName_->text();
  QIcon icon = TypeIcon(path);
  if (icon.isNull()) icon = TypeIcon(Folders::ProgramFolder() + QStringLiteral("readme.txt"));
  if (icon.isNull()) icon = style()->standardIcon(QStyle::SP_FileIcon);
  QPixmap picture(imgProperties_->size());
  picture.fill(lblFileName_->palette().color(QPalette::Window));
  QPainter painter(&picture);
  painter.drawPixmap(1, 1, icon.pixmap(32, 32));
  painter.end();
  imgProperties_->setPixmap(picture);
  if (lblFileName_->text() != Untitled) lblType_->setText(FileFacts::TypeName(path));
}

void TfrmProperties::proProperties(TfrmEdit &edit, TEditHost &host, const QIcon &closeGlyph,
                                   QWidget *parent) {
  const TTopMostPause pause(host);
  const TPropertiesSource source{edit.Caption(), edit.mmoMemo()->TextLength(), edit.FileName()};
  TfrmProperties dialog(source, QDateTime::currentDateTime(), closeGlyph, parent);
  dialog.exec();
}
