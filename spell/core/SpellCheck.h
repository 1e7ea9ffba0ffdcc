// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

#include "spell/core/AbsBuffer.h"
#include "spell/core/SpellLanguages.h"

class TDictionary;
class TEditControl;
class TSpellDialogPort;

// The settings a spell check runs with (the spell component's published properties that the
// loop reads).
struct TSpellOptions {
  QString autoCorrectList;
  bool autoShift = false;
  bool autoSuggest = true;
  bool confirmAdd = true;
  QString dictionaryName;
  QString dictionaryPath = QStringLiteral("APPLICATIONPATH");
  int dictionaryType = SpellLanguages::lgEnglish;
  QString exclusionList;
  bool faster = true;
  int labelLanguage = SpellLanguages::lgEnglish;
  bool showCompletedDialog = true;
  bool supportHtml = false;
  QString userDictionary = QStringLiteral("CUSTOM.DIC");
};

// The spell-check loop: opens the dictionary, walks the words of a buffer, stops at each
// unknown word in the dialog and carries out the user's choice, and reports the result. It
// keeps the Skip Always list and the Replace All pairs between the words. No widgets: the
// dialog and the message boxes come through TSpellDialogPort.
class TSpellCheck {
 public:
  enum TResult { crClean = 0, crReplaced = 1, crClosed = 2 };

  TSpellCheck();
  ~TSpellCheck();
  TSpellCheck(const TSpellCheck &) = delete;
  TSpellCheck &operator=(const TSpellCheck &) = delete;

  TSpellOptions &Options() { return options_; }
  const TSpellOptions &Options() const { return options_; }

  // Checks the text of control; the control's selection is kept. 0, 1 or 2 (TResult).
  int CheckEdit(TEditControl &control, TSpellDialogPort &dialog);
  // Checks the words of buffer (the loop itself).
  int Check(TAbsBuffer &buffer, TSpellDialogPort &dialog);
  // (words, distinct words) of control's text, shown in view as the count goes.
  std::pair<int, int> CountWords(TEditControl &control, TWordCountView &view,
                                 TAbsBuffer::TMessageBox messageBox);

  // Opens the dictionary files the options name; a failure is reported through dialog when
  // one is given. True when the main dictionary is open.
  bool OpenDictionary(TSpellDialogPort *dialog);
  void CloseDictionary();
  void ResetLists();
  bool IsKnown(QByteArrayView word);
  TDictionary *Dictionary() const { return dictionary_.get(); }

  // Ends a running check at once, without a closing message; user words added so far are
  // saved. When controlGone, the check's control is never touched again (it is being
  // destroyed); otherwise (the program is quitting) its selection and modified flag are put
  // back.
  void Abandon(bool controlGone);
  bool Checking() const { return checking_; }
  // True while the check waits for the user's command on an unknown word.
  bool Waiting() const { return waitingOn_ != nullptr; }

  const QList<QByteArray> &IgnoreAllList() const { return ignoreAll_; }
  const QList<QByteArray> &ReplaceFromList() const { return replaceFrom_; }
  const QStringList &ReplaceToList() const { return replaceTo_; }

 private:
  QString MainDictionaryFile() const;
  void LoadAutoCorrectList(TSpellDialogPort *dialog);
  // What a check has done so far.
  struct TRun {
    bool changed = false;       // the text was changed (by the check or the user)
    bool noReplacement = true;  // the user chose no Replace or Replace All
    bool closed = false;        // the user closed the dialog
  };

  int RunCheck(TAbsBuffer &buffer, TSpellDialogPort &dialog, bool wasModified);
  // Shows the unknown word in the dialog, waits for the user's command and carries it out.
  void AskAbout(const QByteArray &word, TAbsBuffer &buffer, TSpellDialogPort &dialog, TRun &run);
  void CarryOut(int command, const QByteArray &word, TAbsBuffer &buffer, TSpellDialogPort &dialog,
                TRun &run);
  // Saves the user's words, puts the modified state back and gives the closing message.
  int Finish(TAbsBuffer &buffer, TSpellDialogPort &dialog, const TRun &run, bool wasModified);
  void WaitForCommand(TSpellDialogPort &dialog);
  void ProcessEvents();
  // Processes events when some time has passed since they were last processed.
  void PollEvents();

  TSpellOptions options_;
  std::unique_ptr<TDictionary> dictionary_;
  QList<QByteArray> ignoreAll_;    // lower case, code page 437
  QList<QByteArray> replaceFrom_;  // lower case, code page 437
  QStringList replaceTo_;
  bool checking_ = false;
  bool abandoned_ = false;
  bool controlGone_ = false;
  TSpellDialogPort *waitingOn_ = nullptr;
  QElapsedTimer sinceEvents_;
};
