// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/SpellCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringList>

#include "documents/edit/EditControl.h"
#include "platform/core/CodePage.h"
#include "platform/core/Folders.h"
#include "platform/core/NestedWait.h"
#include "spell/core/AutoCorrect.h"
#include "spell/core/CEBuffer.h"
#include "spell/core/Dictionary.h"
#include "spell/core/SpellDialogPort.h"
#include "spell/core/SpellErrors.h"

namespace {

constexpr char kApplicationPath[] = "APPLICATIONPATH";

QString AsciiLower(QString text) {
  for (QChar &ch : text)
    if (ch >= u'A' && ch <= u'Z') ch = QChar(ch.unicode() + ('a' - 'A'));
  return text;
}

// The file folder + name; on a file system that tells letter case apart, a file whose name
// differs from name only in letter case is taken when no exact one exists.
QString ExistingFile(const QString &folder, const QString &name) {
  QString exact = folder + name;
  if (QFileInfo::exists(exact) || name.isEmpty()) return exact;
  const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
  for (const QString &entry : dir.entryList(QDir::Files))
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return folder + entry;
  return exact;
}

}  // namespace

TSpellCheck::TSpellCheck() = default;

TSpellCheck::~TSpellCheck() = default;

QString TSpellCheck::MainDictionaryFile() const {
  return ExistingFile(options_.dictionaryPath, options_.dictionaryName);
}

bool TSpellCheck::OpenDictionary(TSpellDialogPort *dialog) {
  if (options_.dictionaryName.isEmpty())
    options_.dictionaryName =
        QString::fromLatin1(SpellLanguages::CheckTexts(options_.dictionaryType).dictionaryBase)
            .toUpper() +
        QStringLiteral(".DCT");
  // Paths keep their letter case here: only the keyword is compared without it.
  QString &path = options_.dictionaryPath;
  if (path.compare(QLatin1String(kApplicationPath), Qt::CaseInsensitive) == 0)
    path = Folders::ProgramFolder();
  else if (!path.isEmpty() && !path.endsWith(u'/'))
    path += u'/';

  if (!dictionary_) dictionary_ = std::make_unique<TDictionary>();
  auto forget = qScopeGuard([this] { dictionary_.reset(); });  // a damaged file: start afresh
  const bool opened = dictionary_->OpenMainDictionary(MainDictionaryFile());
  forget.dismiss();
  if (!opened) {
    dictionary_.reset();
    if (dialog) {
      dialog->ErrorBox(QStringLiteral("Error opening dictionary ") + path +
                       options_.dictionaryName);
      dialog->CloseDialog();
    }
    return false;
  }
  dictionary_->OpenUserDictionary(options_.userDictionary);
  if (!options_.exclusionList.isEmpty()) dictionary_->OpenExclusionList(options_.exclusionList);
  if (!options_.autoCorrectList.isEmpty()) LoadAutoCorrectList(dialog);
  return true;
}

void TSpellCheck::LoadAutoCorrectList(TSpellDialogPort *dialog) {
  QString fileName = options_.autoCorrectList;
  if (!QFileInfo::exists(fileName)) fileName = options_.dictionaryPath + fileName;
  QFile file(fileName);
  if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
    if (dialog) dialog->ErrorBox(options_.autoCorrectList + QStringLiteral(" file not found."));
    return;
  }
  // A pair list is a few hundred lines; a file far beyond that is not one.
  constexpr qint64 kMaxSize = qint64{4} * 1024 * 1024;
  const TAutoCorrectPairs pairs = ParseAutoCorrectList(file.read(kMaxSize));
  replaceFrom_.append(pairs.from);
  replaceTo_.append(pairs.to);
}

void TSpellCheck::CloseDictionary() { dictionary_.reset(); }

void TSpellCheck::ResetLists() {
  ignoreAll_.clear();
  replaceFrom_.clear();
  replaceTo_.clear();
}

bool TSpellCheck::IsKnown(QByteArrayView word) {
  if (!dictionary_) OpenDictionary(nullptr);
  return dictionary_ && dictionary_->IsWord(word);
}

void TSpellCheck::Abandon(bool controlGone) {
  if (!checking_) return;
  abandoned_ = true;
  controlGone_ = controlGone_ || controlGone;
  if (waitingOn_) waitingOn_->Wake();
}

void TSpellCheck::ProcessEvents() {
  // The program quitting meanwhile ends the check as a quit during a wait does.
  if (TNestedWait().Pass() == TNestedWait::TEnd::Quit) abandoned_ = true;
  sinceEvents_.start();
}

void TSpellCheck::PollEvents() {
  // Between two known words the events wait a little: often enough that the program answers
  // and repaints at once to the eye, rarely enough that a long text is not spent on them.
  constexpr qint64 kEventIntervalMs = 15;
  if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventIntervalMs) ProcessEvents();
}

void TSpellCheck::WaitForCommand(TSpellDialogPort &dialog) {
  // A nested wait keeps the program alive (the user may edit the document or press a button);
  // it ends when a command is set, the dialog is hidden or the check is abandoned. A wait
  // ended by the program quitting abandons the check.
  TNestedWait wait;
  waitingOn_ = &dialog;
  dialog.SetWakeUp([&wait] { wait.Wake(); });
  const auto answered = [&dialog] {
    if (dialog.Command() != TSpellDialogPort::cmNone || !dialog.IsShown()) return true;
    dialog.BringToFront();
    return false;
  };
  if (wait.Until(answered, [this] { return abandoned_; }) == TNestedWait::TEnd::Quit)
    abandoned_ = true;
  dialog.SetWakeUp(nullptr);
  waitingOn_ = nullptr;
}

int TSpellCheck::CheckEdit(TEditControl &control, TSpellDialogPort &dialog) {
  if (checking_) {  // one check at a time: the running one keeps the dialog
    dialog.BringToFront();
    return crClosed;
  }
  replaceFrom_.clear();
  replaceTo_.clear();
  const qsizetype selStart = control.SelStart();
  const qsizetype selLength = control.SelLength();
  const bool hideSelection = control.HideSelection();
  control.SetHideSelection(false);
  const auto restore = qScopeGuard([&] {
    if (!controlGone_) {
      control.SetSelection(selStart, selLength);
      control.SetHideSelection(hideSelection);
    }
    abandoned_ = false;
    controlGone_ = false;
  });
  TCEBuffer buffer(control);
  buffer.SetMessageBox([&dialog](const QString &text) { dialog.ErrorBox(text); });
  return Check(buffer, dialog);
}

int TSpellCheck::Check(TAbsBuffer &buffer, TSpellDialogPort &dialog) {
  checking_ = true;
  const auto endCheck = qScopeGuard([this] { checking_ = false; });

  const bool wasModified = buffer.GetModified();
  buffer.SetModified(false);
  // A damaged dictionary ends the check with its error: the control keeps its modified
  // state, the dialog goes away.
  auto failed = qScopeGuard([&] {
    if (!controlGone_) buffer.SetModified(buffer.GetModified() || wasModified);
    dialog.CloseDialog();
  });
  const int result = RunCheck(buffer, dialog, wasModified);
  failed.dismiss();
  return result;
}

int TSpellCheck::RunCheck(TAbsBuffer &buffer, TSpellDialogPort &dialog, bool wasModified) {
  const SpellLanguages::TCheckTexts &texts = SpellLanguages::CheckTexts(options_.labelLanguage);
  buffer.SetSkipMarkup(options_.supportHtml);
  if (!OpenDictionary(&dialog)) {
    buffer.SetModified(wasModified);  // the document's own state stays
    return crClosed;
  }
  ProcessEvents();
  if (options_.faster) {
    dialog.SetStatusText(QString::fromUtf8(texts.wordFound));
    dialog.SetMisspeltWord(QStringLiteral("  ...  "));
    dialog.SetReplacement(QStringLiteral("  ...  "));
  }
  if (!abandoned_) dialog.ShowDialog();
  dialog.SetCommand(TSpellDialogPort::cmNone);
  dialog.ClearSuggestions();

  TRun run;
  while (!abandoned_ && !run.closed) {
    dialog.SetBusy(true);
    if (buffer.GetModified()) {
      // Read again only when the text really changed since the buffer last read it.
      run.changed = true;
      buffer.LoadText();
      buffer.SetModified(false);
      buffer.BackToWordStart();
    }
    const QByteArray word = buffer.NextWord();
    if (word.size() > 1 && !buffer.DigitsOnly() && !IsKnown(word)) {
      const QByteArray lower = word.toLower();
      if (const qsizetype i = replaceFrom_.indexOf(lower); i >= 0) {
        // Replaced without a dialog; the replacement selects the word itself.
        run.changed = true;
        buffer.ReplaceWord(replaceTo_.at(i));
      } else if (!ignoreAll_.contains(lower)) {
        AskAbout(word, buffer, dialog, run);
        if (abandoned_ || run.closed) break;
      }
      dialog.ClearSuggestions();
      continue;
    }
    if (!word.isEmpty() && !options_.faster) {
      dialog.SetStatusText(QString::fromUtf8(texts.wordFound));
      dialog.SetMisspeltWord(CodePage::FromOem437(word));
      dialog.SetReplacement(CodePage::FromOem437(word));
    }
    PollEvents();
    if (abandoned_) break;
    if (dialog.Command() == TSpellDialogPort::cmClose) run.closed = true;
    if (word.isEmpty()) break;
  }
  return Finish(buffer, dialog, run, wasModified);
}

void TSpellCheck::AskAbout(const QByteArray &word, TAbsBuffer &buffer, TSpellDialogPort &dialog,
                           TRun &run) {
  const SpellLanguages::TCheckTexts &texts = SpellLanguages::CheckTexts(options_.labelLanguage);
  const QString shown = CodePage::FromOem437(word);
  dialog.SetBusy(false);
  dialog.RevealControl();
  buffer.SelectWord();
  if (!dialog.IsShown()) dialog.ShowDialog();
  if (options_.autoShift) dialog.ShiftFor(buffer.CaretScreenTop());
  ProcessEvents();
  if (abandoned_) return;
  dialog.SetStatusText(QString::fromUtf8(texts.notFound));
  dialog.SetMisspeltWord(shown);
  dialog.SetReplacement(shown);
  ProcessEvents();
  if (abandoned_) return;
  if (options_.autoSuggest) dialog.FillSuggestions();
  // A button pressed before this point is dropped: the word may not have been painted yet, so
  // the press may have been meant for the word before.
  dialog.SetCommand(TSpellDialogPort::cmNone);
  dialog.FocusReplacement();
  WaitForCommand(dialog);
  if (abandoned_) return;
  CarryOut(dialog.IsShown() ? dialog.Command() : int(TSpellDialogPort::cmClose), word, buffer,
           dialog, run);
}

void TSpellCheck::CarryOut(int command, const QByteArray &word, TAbsBuffer &buffer,
                           TSpellDialogPort &dialog, TRun &run) {
  const SpellLanguages::TCheckTexts &texts = SpellLanguages::CheckTexts(options_.labelLanguage);
  const QByteArray lower = word.toLower();
  const QString shown = CodePage::FromOem437(word);
  const QString replacement = dialog.GetReplacement();
  // A change of letter case alone is not made.
  const bool sameWord = AsciiLower(replacement) == AsciiLower(shown);
  switch (command) {
    case TSpellDialogPort::cmClose:
      run.closed = true;
      break;
    case TSpellDialogPort::cmReplace:
    case TSpellDialogPort::cmReplaceAll:
      run.changed = true;
      run.noReplacement = false;
      if (sameWord) break;
      if (command == TSpellDialogPort::cmReplaceAll) {
        replaceFrom_.append(lower);
        replaceTo_.append(replacement);
      }
      buffer.ReplaceWord(replacement);
      dialog.SetReplacement(QString());
      break;
    case TSpellDialogPort::cmAdd:
      if (IsKnown(word)) {
        dialog.InformationBox(SpellLanguages::WithWord(texts.alreadyKnown, shown));
      } else if (!options_.confirmAdd ||
                 dialog.ConfirmBox(SpellLanguages::WithWord(texts.confirmAdd, shown))) {
        if (dictionary_) dictionary_->AddWord(word);
      }
      if (!abandoned_) dialog.FocusReplacement();
      break;
    case TSpellDialogPort::cmSkipAlways:
      ignoreAll_.append(lower);
      break;
    default:  // skip once
      break;
  }
}

int TSpellCheck::Finish(TAbsBuffer &buffer, TSpellDialogPort &dialog, const TRun &run,
                        bool wasModified) {
  const SpellLanguages::TCheckTexts &texts = SpellLanguages::CheckTexts(options_.labelLanguage);
  dialog.SetBusy(false);
  if (dictionary_) {
    try {
      dictionary_->SaveUserDictionary();
    } catch (const TSpellError &error) {
      dialog.ErrorBox(error.Message());
    }
  }
  if (abandoned_) {
    // The program is ending or the control going away: no message; a control that is gone
    // is not touched again.
    if (!controlGone_) buffer.SetModified(run.changed || wasModified);
    dialog.CloseDialog();
    return crClosed;
  }
  buffer.SetModified(run.changed || wasModified);
  int result = crClosed;
  if (!run.closed) {
    result = run.noReplacement ? crClean : crReplaced;
    if (options_.showCompletedDialog)
      dialog.InformationBox(
          QString::fromUtf8(run.noReplacement ? texts.finishedClean : texts.finishedReplaced));
  }
  dialog.CloseDialog();
  ProcessEvents();
  return result;
}

std::pair<int, int> TSpellCheck::CountWords(TEditControl &control, TWordCountView &view,
                                            TAbsBuffer::TMessageBox messageBox) {
  TCEBuffer buffer(control);
  buffer.SetMessageBox(std::move(messageBox));
  return buffer.CountWords(view);
}
