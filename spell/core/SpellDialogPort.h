// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <utility>

// What the spell-check loop needs of a spell dialog and of the user: the dialog shows the
// word in question and the user's choices set its command; the loop waits for the command.
// Windows implement it on real dialogs; tests drive it with a scripted one.
class TSpellDialogPort {
 public:
  enum TCommand {
    cmNone = 0,
    cmClose = 2,
    cmReplace = 20,
    cmAdd = 21,
    cmSkip = 22,
    cmSkipAlways = 23,
    cmReplaceAll = 24
  };

  virtual ~TSpellDialogPort() = default;

  int Command() const { return command_; }
  // Sets the command and wakes a waiting check.
  void SetCommand(int command) {
    command_ = command;
    Wake();
  }
  // The waiting check installs the function that ends its wait; implementations call Wake()
  // when the dialog is hidden, so that the check sees it.
  void SetWakeUp(std::function<void()> wakeUp) { wakeUp_ = std::move(wakeUp); }
  void Wake() {
    if (wakeUp_) wakeUp_();
  }

  virtual void SetStatusText(const QString &text) = 0;
  virtual void SetMisspeltWord(const QString &text) = 0;
  virtual void SetReplacement(const QString &text) = 0;
  virtual QString GetReplacement() const = 0;
  virtual void FocusReplacement() = 0;
  virtual void ClearSuggestions() = 0;
  virtual void FillSuggestions() = 0;

  virtual bool IsShown() const = 0;
  // Shows the dialog, placed as the check's options say.
  virtual void ShowDialog() = 0;
  // Moves the dialog out of the way of text at screen height y (0: leave it).
  virtual void ShiftFor(int y) = 0;
  virtual void CloseDialog() = 0;
  virtual void BringToFront() = 0;
  // Makes the checked control visible (the page holding it becomes the current page).
  virtual void RevealControl() {}
  virtual void SetBusy(bool /*busy*/) {}

  virtual void ErrorBox(const QString &text) = 0;
  virtual void InformationBox(const QString &text) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool ConfirmBox(const QString &text) = 0;

 private:
  int command_ = cmNone;
  std::function<void()> wakeUp_;
};
