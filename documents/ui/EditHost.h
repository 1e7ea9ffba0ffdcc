// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QMenu;
class TfrmEdit;

// What a document window needs of the frame that holds it: the shared setting holders, the
// stay-on-top switch around its questions, the titles, the shared pop-up menu and the web link.
class TEditHost {
 public:
  virtual ~TEditHost() = default;

  // Window state of new document windows: "0" maximised, "1" minimised, "2" normal.
  virtual QString EditDisplay() const = 0;
  virtual void SetFilePath(const QString &folder) = 0;
  virtual void SetCurrentFileName(const QString &name) = 0;
  virtual void TopMostOff() = 0;
  virtual void TopMostOn() = 0;
  virtual void UpdateTitles() = 0;
  // The commands follow a window's state at once: it began or ended a load or a long command,
  // during which they are held back.
  virtual void UpdateCommands() = 0;
  // The right-click menu of every edit control.
  virtual QMenu *PopupMenu() const = 0;
  // Asks the question and, when the user agrees, opens the address in the browser.
  virtual void OpenWebLink(const QString &question, const QString &address) = 0;
  // File|Save run from the close question's Yes; false when nothing was saved.
  virtual bool SaveFromClose(TfrmEdit *window) = 0;
  // Brings a document window to the front and makes it the active one.
  virtual void Activate(TfrmEdit *window) = 0;
};

// Stay-on-top suspended for as long as it lives, so that a dialog of the program is not
// hidden behind the frame; put back however the dialog ends.
class TTopMostPause {
 public:
  explicit TTopMostPause(TEditHost &host) : host_(host) { host_.TopMostOff(); }
  ~TTopMostPause() { host_.TopMostOn(); }
  TTopMostPause(const TTopMostPause &) = delete;
  TTopMostPause &operator=(const TTopMostPause &) = delete;

 private:
  TEditHost &host_;
};
