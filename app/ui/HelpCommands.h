// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class TfrmHelp;
class TfrmMain;
class THelpKeyFilter;
class TSysInfoComp;

// The main window's Help menu (MenuHelp, by tag), the About box, the web links of the Help
// menu, Properties... and Special Characters..., each handed to the window that does it.
// It owns the machine snapshot sysInfo and the help window, which it closes with itself.
class THelpCommands : public QObject {
  Q_OBJECT

 public:
  enum TTag {
    hContents = 0,
    hSearch = 1,
    hHowTo = 2,
    hWhatsNew = 3,
    hTech = 5,
    hDownload = 6,
    hAbout = 7,
    hOnLine = 9
  };

  explicit THelpCommands(TfrmMain &main);
  ~THelpCommands() override;

  void MenuHelp(int tag);
  void proProperties();
  void proSpecialChar();

  const TSysInfoComp &sysInfo() const { return *sysInfo_; }
  // The help window, made on first use; nullptr before.
  TfrmHelp *Viewer() const;
  TfrmHelp &OpenViewer();

  // The questions of Download Latest Version and On-Line Help.
  static QString DownloadQuestion();
  static QString OnLineQuestion();

 private:
  void About();
  void WhatsNew();

  TfrmMain &main_;
  TSysInfoComp *sysInfo_;
  QPointer<TfrmHelp> viewer_;
  THelpKeyFilter *keyFilter_;
};
