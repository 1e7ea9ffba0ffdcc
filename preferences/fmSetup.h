// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QToolBar;
class TEditHost;
class TMailFields;
class TPageManager;

// The set-up wizard of the first start: four pages (welcome, tool-bar style, outgoing mail,
// end). Finish gives the mail fields to the main window's holders; however the wizard
// closes, the chosen tool-bar style is applied to the main window and written for the six
// windows that have a tool bar of their own.
class TfrmSetup : public QDialog {
  Q_OBJECT

 public:
  // main: the main window, whose children are the holders, the style items "mniExplore" and
  // "mniStandard" and the tool bar "barMCustom".
  explicit TfrmSetup(QWidget &main, QWidget *parent = nullptr);

  // Shows the wizard modally over main, with stay-on-top paused meanwhile.
  static void Run(QWidget &main, TEditHost &host);

  QStackedWidget *nbkSetup;
  TPageManager *pagSetup;
  QPushButton *btnPrevious, *btnNext, *btnFinish;
  QRadioButton *radExplore, *radStandard;
  QToolBar *barSetup;
  TMailFields *mail;
  QLabel *lbl1stContact, *lblWelcome, *lblWizard, *lblSetupProper, *lblStartInfo;

  // The sections that keep a tool-bar style, with the value name of their tool bar's style.
  static const QList<std::pair<QString, QString>> &StyleSections();

 public Q_SLOTS:
  void done(int result) override;

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  QWidget *startPage();
  QWidget *buttonPage();
  QWidget *networkPage();
  QWidget *endPage();
  void FormShow();
  void btnFinishClick();
  void FormClose();
  void SetSampleFlat(bool flat);

  QWidget &main_;
  bool closed_ = false;
};
