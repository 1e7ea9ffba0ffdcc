// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QDialog>
#include <QIcon>

class QCheckBox;
class QLabel;
class QToolBar;
class TBarStyleMenu;
class TEditHost;
class TFormStorage;
class TfrmEdit;

// What the dialog shows of one document window.
struct TPropertiesSource {
  QString caption;   // the window's caption: the file's name, or "untitled.txt"
  qsizetype length;  // the length of the window's text, as its status bar counts it
  QString fileName;  // the full name in panel 2 of its status bar
};

// The properties of the active document's file: name, type, folder, size of the text, dates
// and attributes. It only displays; nothing is written back.
class TfrmProperties : public QDialog {
  Q_OBJECT

 public:
  // now: the moment of opening, shown as Accessed and for an untitled document.
  TfrmProperties(const TPropertiesSource &source, const QDateTime &now, const QIcon &closeGlyph,
                 QWidget *parent = nullptr);
  ~TfrmProperties() override;

  // Shows the dialog modally for a document window, stay-on-top paused meanwhile.
  static void proProperties(TfrmEdit &edit, TEditHost &host, const QIcon &closeGlyph,
                            QWidget *parent);

 protected:
  void showEvent(QShowEvent *event) override;

 private:
  void BuildGeneralPage(QWidget *page);
  void Fill(const TPropertiesSource &source, const QDateTime &now);
  void FormShow();

  QLabel *imgProperties_;
  QLabel *lblFileName_;
  QLabel *lblType_;
  QLabel *lblLocation_;
  QLabel *lblSize_;
  QLabel *lblCreated_;
  QLabel *lblModified_;
  QLabel *lblAccessed_;
  QCheckBox *chkReadOnly_;
  QCheckBox *chkHidden_;
  QCheckBox *chkSystem_;
  QCheckBox *chkArchive_;
  QToolBar *barProperties_;
  TBarStyleMenu *pumToolBar_;
  TFormStorage *strProperties_;
};
