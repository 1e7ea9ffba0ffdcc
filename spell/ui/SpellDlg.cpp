// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/SpellDlg.h"

#include <QApplication>
#include <QCursor>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QScreen>
#include <QStackedWidget>
#include <QTabWidget>

#include "documents/edit/EditControl.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TextFit.h"
#include "spell/core/Dictionary.h"
#include "spell/core/SpellErrors.h"
#include "spell/ui/AbsSpellDialog.h"
#include "spell/ui/MSSpellDlg.h"
#include "spell/ui/W96SpellDlg.h"
#include "spell/ui/WPSpellDlg.h"
#include "spell/ui/WordForm.h"

namespace {

QRect ScreenOf(const QWidget *widget) {
  const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TSpellDlg::TSpellDlg(QObject *parent) : QObject(parent) {
  setObjectName(QStringLiteral("dlgSpell"));
  font_ = QFont(QStringLiteral("MS Sans Serif"), 8);
  font_.setBold(true);
  SetDialogStyle(dtWordPerfect);
}

TSpellDlg::~TSpellDlg() {
  check_.Abandon(false);
  delete dialog_.data();
  delete wordForm_.data();
}

TAbsSpellDialog *TSpellDlg::Dialog() const { return dialog_; }

TWordForm *TSpellDlg::WordForm() const { return wordForm_; }

QWidget *TSpellDlg::Owner() const { return qobject_cast<QWidget *>(parent()); }

QWidget *TSpellDlg::MessageParent() const {
  if (dialog_ && dialog_->isVisible()) return dialog_;
  return Owner();
}

void TSpellDlg::SetDialogStyle(TDialogTypes style) {
  dialogStyle_ = style;
  delete dialog_.data();
  // A check waiting on the old dialog learns that it is gone (a widget being destroyed sends
  // no hide of its own) and ends as closed; the new dialog shows at the next check.
  Wake();
  TAbsSpellDialog *dialog = nullptr;
  switch (style) {
    case dtMSWord:
      dialog = new TMSSpellDlg(Owner());
      break;
    case dtWordPro96:
      dialog = new TW96SpellDlg(Owner());
      break;
    default:
      dialog = new TWPSpellDlg(Owner());
      break;
  }
  if (Owner()) dialog->setWindowFlag(Qt::Window);
  dialog_ = dialog;
  connect(dialog, &TAbsSpellDialog::CommandChosen, this,
          [this](int command) { SetCommand(command); });
  connect(dialog, &TAbsSpellDialog::Hidden, this, [this] { Wake(); });
  Dress();
  dialog->ShowAccents(accentIcons_);
  dialog->SetSuggestionCount(suggestions_);
  dialog->SetHelpContext(helpContext_);
  connect(dialog, &TAbsSpellDialog::HelpRequested, this, &TSpellDlg::HelpRequested);
}

void TSpellDlg::SetHelpContext(int context) {
  helpContext_ = context;
  if (dialog_) dialog_->SetHelpContext(context);
}

void TSpellDlg::SetAccentIcons(int accents) {
  accentIcons_ = TAccentSet(accents);
  if (dialog_) dialog_->ShowAccents(accentIcons_);
}

void TSpellDlg::SetDictionaryType(TLanguages language) {
  check_.Options().dictionaryType = language;
  if (language == lgSpanish) accentIcons_ |= acSpanish;
}

void TSpellDlg::SetExclusionList(const QString &name) {
  check_.Options().exclusionList = name;
  if (TDictionary *dictionary = check_.Dictionary()) dictionary->OpenExclusionList(name);
}

void TSpellDlg::SetLabelLanguage(TLanguages language) {
  check_.Options().labelLanguage = language;
  if (dialog_) {
    dialog_->ApplyLanguage(language);
    TextFit::FitTexts(dialog_);
  }
}

void TSpellDlg::SetSuggestions(int count) {
  if (count < 1) {
    MessageBox::Show(Owner(), QStringLiteral("Invalid number of suggestions."),
                     TMsgKind::Information, TMsgButtons::Ok);
    count = 1;
  }
  suggestions_ = qMin(count, 255);
  if (dialog_) dialog_->SetSuggestionCount(suggestions_);
}

int TSpellDlg::CheckEdit(TEditControl &control) {
  if (check_.Checking()) {  // one check at a time
    BringToFront();
    return TSpellCheck::crClosed;
  }
  // A control that is a window may go away while the dialog waits: the check then ends
  // without touching it again. (Quitting the program ends the wait's event loop, which the
  // check takes as the end too.)
  checkedControl_ = dynamic_cast<QObject *>(&control);
  QMetaObject::Connection gone;
  if (checkedControl_)
    gone = connect(checkedControl_, &QObject::destroyed, this, [this] {
      checkedControl_ = nullptr;
      check_.Abandon(true);
    });
  int result = TSpellCheck::crClosed;
  try {
    result = check_.CheckEdit(control, *this);
  } catch (const TSpellError &error) {
    // A damaged dictionary: the user is told, the check ends as closed.
    CloseDialog();
    ErrorBox(error.Message());
  }
  disconnect(gone);
  checkedControl_ = nullptr;
  return result;
}

std::pair<int, int> TSpellDlg::CountWords(TEditControl &control) {
  if (counting_) {
    // One count at a time (a second click on Word Count while a long count runs): the running
    // count keeps the window, which would otherwise end up showing the older numbers.
    wordForm_->raise();
    return {0, 0};
  }
  if (!wordForm_) {
    wordForm_ = new TWordForm(Owner());
    if (Owner()) wordForm_->setWindowFlag(Qt::Window);
  }
  // A count whose document goes away (closed, or the program exiting) ends with it: the
  // window, showing numbers of a text that no longer exists, is hidden, which stops the count.
  QMetaObject::Connection gone;
  if (auto *counted = dynamic_cast<QObject *>(&control))
    gone = connect(counted, &QObject::destroyed, wordForm_.data(), &QWidget::hide);
  counting_ = true;
  const auto done = qScopeGuard([this, gone] {
    counting_ = false;
    disconnect(gone);
  });
  return check_.CountWords(control, *wordForm_, [this](const QString &text) { ErrorBox(text); });
}

void TSpellDlg::SetDialogCaption(const QString &caption) {
  if (dialog_) dialog_->setWindowTitle(caption);
}

void TSpellDlg::CloseDictionary() { check_.CloseDictionary(); }

void TSpellDlg::ResetLists() { check_.ResetLists(); }

void TSpellDlg::Dress() {
  // The captions are fitted to the face when the dialog shows.
  if (!showGlyphs_) dialog_->RemoveGlyphs();
  dialog_->setFont(font_);
}

void TSpellDlg::SetStatusText(const QString &text) {
  if (dialog_) dialog_->SetStatusText(text);
}

void TSpellDlg::SetMisspeltWord(const QString &text) {
  if (dialog_) dialog_->SetMisspeltWord(text);
}

void TSpellDlg::SetReplacement(const QString &text) {
  if (dialog_) dialog_->SetReplacement(text);
}

QString TSpellDlg::GetReplacement() const {
  return dialog_ ? dialog_->GetReplacement() : QString();
}

void TSpellDlg::FocusReplacement() {
  if (dialog_) dialog_->FocusReplacement();
}

void TSpellDlg::ClearSuggestions() {
  if (dialog_) dialog_->ClearSuggestions();
}

void TSpellDlg::FillSuggestions() {
  if (dialog_) dialog_->FillSuggestions();
}

bool TSpellDlg::IsShown() const { return dialog_ && dialog_->isVisible(); }

void TSpellDlg::ShowDialog() {
  if (!dialog_) return;
  const QRect screen = ScreenOf(Owner());
  dialog_->move(screen.x() + screen.width() / 2 - dialog_->width() / 2, dialog_->y());
  if (check_.Options().autoShift) ShiftFor(10);
  // Other windows stay out of reach while the dialog shows when ForceModal is set.
  dialog_->setWindowModality(forceModal_ ? Qt::ApplicationModal : Qt::NonModal);
  Dress();
  dialog_->show();
}

void TSpellDlg::ShiftFor(int y) {
  if (y == 0 || !dialog_) return;
  const QRect screen = ScreenOf(dialog_);
  const int top = (screen.height() / 2 < y) ? 10 : screen.height() - dialog_->height() - 10;
  const int delta = top - dialog_->y();
  if (delta == 0) return;
  dialog_->move(dialog_->x(), top);
  QCursor::setPos(QCursor::pos() + QPoint(0, delta));
}

void TSpellDlg::CloseDialog() {
  if (dialog_ && dialog_->isVisible()) dialog_->hide();
  if (dialog_) dialog_->setWindowModality(Qt::NonModal);
  SetBusy(false);
}

void TSpellDlg::BringToFront() {
  if (dialog_ && dialog_->isVisible() && QApplication::activeWindow()) {
    dialog_->raise();
    dialog_->activateWindow();
  }
}

void TSpellDlg::RevealControl() {
  // Pages of tab and stacked widgets, and the document's sub-window, come to the front on
  // the way up to the first parent that is on screen.
  auto *widget = qobject_cast<QWidget *>(checkedControl_);
  while (widget && widget->parentWidget() && !widget->isVisible()) {
    QWidget *parent = widget->parentWidget();
    if (auto *stack = qobject_cast<QStackedWidget *>(parent)) {
      if (auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget()))
        tabs->setCurrentWidget(widget);
      else
        stack->setCurrentWidget(widget);
    } else if (auto *sub = qobject_cast<QMdiSubWindow *>(widget)) {
      if (sub->mdiArea()) sub->mdiArea()->setActiveSubWindow(sub);
    }
    widget = parent;
  }
}

void TSpellDlg::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void TSpellDlg::ErrorBox(const QString &text) {
  MessageBox::Show(MessageParent(), text, TMsgKind::Error, TMsgButtons::Ok);
}

void TSpellDlg::InformationBox(const QString &text) {
  MessageBox::Show(MessageParent(), text, TMsgKind::Information, TMsgButtons::Ok);
}

bool TSpellDlg::ConfirmBox(const QString &text) {
  return MessageBox::Show(MessageParent(), text, TMsgKind::Confirmation, TMsgButtons::YesNo) ==
         TMsgResult::Yes;
}
