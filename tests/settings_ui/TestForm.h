// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "settings/ui/FormStorage.h"

// A setting holder as the program's windows use them: a plain object with typed properties.
class THolderObject : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption MEMBER caption)
  Q_PROPERTY(int Color MEMBER color)
  Q_PROPERTY(QStringList Lines MEMBER lines)

 public:
  using QObject::QObject;
  QString caption;
  int color = 0;
  QStringList lines;
};

// A component with an enumeration, a set and a floating-point value, keyed by stored names.
class TSpellObject : public QObject {
  Q_OBJECT

 public:
  enum TDialogTypes { dtWordPerfect, dtMSWord, dtWordPro96 };
  Q_ENUM(TDialogTypes)
  enum TOption { soFirst = 1, soSecond = 2, soThird = 4 };
  Q_DECLARE_FLAGS(TOptions, TOption)
  Q_FLAG(TOptions)

 private:
  Q_PROPERTY(TDialogTypes DialogStyle MEMBER dialogStyle)
  Q_PROPERTY(TOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(double Ratio MEMBER ratio)

 public:
  using QObject::QObject;
  TOptions Options() const { return options; }
  void SetOptions(TOptions value) { options = value; }
  TDialogTypes dialogStyle = dtWordPerfect;
  TOptions options = soSecond;
  double ratio = 1.5;
};

// An edit control that declares its stored properties itself, as the document window's does.
class TMemoControl : public QPlainTextEdit {
  Q_OBJECT

 public:
  enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
  Q_ENUM(TScrollStyle)

 private:
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(QFont Font READ font WRITE setFont)
  Q_PROPERTY(QColor FontColor MEMBER fontColor)
  Q_PROPERTY(TScrollStyle ScrollBars MEMBER scrollBars)
  Q_PROPERTY(bool SelectionBar MEMBER selectionBar)
  Q_PROPERTY(int UndoLimit MEMBER undoLimit)
  Q_PROPERTY(bool AutoURLDetect MEMBER autoUrlDetect)
  Q_PROPERTY(bool WordWrap MEMBER wordWrap)

 public:
  using QPlainTextEdit::QPlainTextEdit;
  QColor Color() const { return palette().color(QPalette::Base); }
  void SetColor(const QColor &color) {
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p);
  }
  QColor fontColor = Qt::black;
  TScrollStyle scrollBars = TScrollStyle::ssNone;
  bool selectionBar = false;
  int undoLimit = 0;
  bool autoUrlDetect = true;
  bool wordWrap = false;
};

// A window with one control of each kind the stored tables use.
class TfrmTest : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmTest(TSettingsStore &store) {
    setObjectName(QStringLiteral("frmTest"));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    mniWordWrap = new QAction(this);
    mniWordWrap->setObjectName(QStringLiteral("mniWordWrap"));
    mniWordWrap->setCheckable(true);
    mniWordWrap->setChecked(true);
    SMTPBCC = new QCheckBox(this);
    SMTPBCC->setObjectName(QStringLiteral("SMTPBCC"));
    connect(SMTPBCC, &QCheckBox::toggled, this, [this] { ++bccToggles; });
    lblFilter = new QLabel(QStringLiteral("1"), this);
    lblFilter->setObjectName(QStringLiteral("lblFilter"));
    lblFilter->hide();
    SMTPHost = new THolderObject(this);
    SMTPHost->setObjectName(QStringLiteral("SMTPHost"));
    SMTPSignature = new QPlainTextEdit(this);
    SMTPSignature->setObjectName(QStringLiteral("SMTPSignature"));
    SMTPSignature->hide();
    mmoMemo = new QPlainTextEdit(this);
    mmoMemo->setObjectName(QStringLiteral("mmoMemo"));
    pnlTip = new QWidget(this);
    pnlTip->setObjectName(QStringLiteral("pnlTip"));
    dlgSpell = new TSpellObject(this);
    dlgSpell->setObjectName(QStringLiteral("dlgSpell"));
    pagPrefer = new QTabWidget(this);
    pagPrefer->setObjectName(QStringLiteral("pagPrefer"));
    for (const char *name : {"tabDisplay", "tabSpell"}) {
      auto *page = new QWidget;
      page->setObjectName(QString::fromLatin1(name));
      pagPrefer->addTab(page, QString::fromLatin1(name));
    }
    barMCustom = new QToolBar(this);
    barMCustom->setObjectName(QStringLiteral("barMCustom"));
    for (const char *name : {"btnOpen", "btnSave", "|", "btnPrint", "btnExtra"}) {
      auto *action = new QAction(QString::fromLatin1(name), this);
      action->setObjectName(QString::fromLatin1(name));
      if (name == std::string_view("|")) {
        barMCustom->addSeparator();
      } else if (name != std::string_view("btnExtra")) {
        barMCustom->addAction(action);
      }
    }
    for (QWidget *w :
         std::initializer_list<QWidget *>{barMCustom, SMTPBCC, mmoMemo, pnlTip, pagPrefer})
      layout->addWidget(w);
    storage = new TFormStorage(this, store);
    storage->IniSection = QStringLiteral("Test Form");
  }
  ~TfrmTest() override { storage->FormDestroying(); }

  QAction *mniWordWrap;
  QCheckBox *SMTPBCC;
  QLabel *lblFilter;
  THolderObject *SMTPHost;
  QPlainTextEdit *SMTPSignature;
  QPlainTextEdit *mmoMemo;
  QWidget *pnlTip;
  TSpellObject *dlgSpell;
  QTabWidget *pagPrefer;
  QToolBar *barMCustom;
  TFormStorage *storage;

  int bccToggles = 0;
  bool refuseClose = false;
  std::optional<bool> wrapSeenAtShow;

 protected:
  void showEvent(QShowEvent *event) override {
    wrapSeenAtShow = mniWordWrap->isChecked();
    QWidget::showEvent(event);
  }
  void closeEvent(QCloseEvent *event) override {
    if (refuseClose)
      event->ignore();
    else
      event->accept();
  }
};
