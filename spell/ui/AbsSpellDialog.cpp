// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/ui/AbsSpellDialog.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <array>

#include "platform/ui/Fonts.h"
#include "platform/ui/TextFit.h"
#include "spell/core/Dictionary.h"
#include "spell/ui/EnterEdit.h"
#include "spell/ui/FixedLabel.h"
#include "spell/ui/NewListBox.h"

namespace {

// Window titles by language; English keeps the style's own title.
constexpr std::array<const char *, SpellLanguages::kCount> kTitles = {
    nullptr,
    "Verificación de Ortografía.",
    "Spell Checker",
    "Controllo Ortografico",
    "Vérification de l'orthographe",
    "Rechtschreibprüfung",
    "Spellingcontrole"};

struct TAccentButton {
  const char *name;
  const char *caption;
  int left;
};

constexpr std::array<TAccentButton, 7> kAccentButtons = {{{"btnA", "á", 2},
                                                          {"btnE", "é", 23},
                                                          {"btnI", "í", 44},
                                                          {"btnO", "ó", 65},
                                                          {"btnU", "ú", 86},
                                                          {"btnN", "ñ", 133},
                                                          {"btnN2", "Ñ", 154}}};

}  // namespace

TAbsSpellDialog::TAbsSpellDialog(QWidget *parent) : QDialog(parent) {
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void TAbsSpellDialog::SetSuggestionCount(int count) { suggestionCount_ = qBound(1, count, 255); }

void TAbsSpellDialog::SetStatusText(const QString &text) {
  if (lblFound->text() == text) return;  // with Faster off this comes for every word
  lblFound->setText(text);
  TextFit::FitText(lblFound);
}

void TAbsSpellDialog::SetReplacement(const QString &text) { edtWord->setText(text); }

QString TAbsSpellDialog::GetReplacement() const { return edtWord->text(); }

void TAbsSpellDialog::FocusReplacement() {
  btnReplace->setFocus();
  edtWord->setFocus();
}

void TAbsSpellDialog::ClearSuggestions() { lstSuggest->clear(); }

void TAbsSpellDialog::FillSuggestions() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  lstSuggest->clear();
  if (TDictionary *dictionary = TDictionary::Instance())
    lstSuggest->addItems(dictionary->Suggest(edtWord->text(), suggestionCount_));
  if (lstSuggest->count() > 0) edtWord->setText(lstSuggest->item(0)->text());
  btnReplace->setFocus();
  QApplication::restoreOverrideCursor();
}

void TAbsSpellDialog::RemoveGlyphs() {
  for (QPushButton *button : findChildren<QPushButton *>()) button->setIcon(QIcon());
  for (QToolButton *button : findChildren<QToolButton *>())
    if (!button->icon().isNull()) button->setIcon(QIcon());
}

void TAbsSpellDialog::showEvent(QShowEvent *event) {
  TextFit::FitTexts(this);  // the face may have changed while the dialog was hidden
  QDialog::showEvent(event);
}

void TAbsSpellDialog::hideEvent(QHideEvent *event) {
  QDialog::hideEvent(event);
  Q_EMIT Hidden();
}

void TAbsSpellDialog::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    // Not the dialog's own Esc, which would only hide it while the scan goes on.
    event->accept();
    Q_EMIT CommandChosen(cmClose);
    return;
  }
  QDialog::keyPressEvent(event);
}

void TAbsSpellDialog::PreviewAltKeys() {
  for (QWidget *child : findChildren<QWidget *>()) child->installEventFilter(this);
}

QWidget *TAbsSpellDialog::AltKeyTarget(const QKeyEvent *event) const {
  if (event->modifiers() != Qt::AltModifier) return nullptr;
  if (event->key() == Qt::Key_E) return lstSuggest;
  if (event->key() == Qt::Key_W) return edtWord;
  return nullptr;
}

bool TAbsSpellDialog::eventFilter(QObject *watched, QEvent *event) {
  // The shortcut override comes before any mnemonic sees the key: the focus moves there and
  // the key is taken. (The key press that follows may be swallowed before it gets here, by a
  // program-wide filter that keeps Alt keys from typing.)
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (QWidget *target = AltKeyTarget(key)) {
      target->setFocus(Qt::ShortcutFocusReason);
      event->accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

QLabel *TAbsSpellDialog::AddLabel(const char *name, const QString &text, QRect place,
                                  Qt::Alignment alignment) {
  return AddFixedLabel(this, name, text, place, alignment);
}

void TAbsSpellDialog::SetCaptions(std::initializer_list<QWidget *> widgets,
                                  const char *const *captions) {
  for (QWidget *widget : widgets) {
    const QString text = QString::fromUtf8(*captions++);
    if (auto *label = qobject_cast<QLabel *>(widget))
      label->setText(text);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
      button->setText(text);
  }
}

int TAbsSpellDialog::LanguageIndex(int language) {
  return (language >= 0 && language < SpellLanguages::kCount) ? language
                                                              : int(SpellLanguages::lgEnglish);
}

QPushButton *TAbsSpellDialog::AddButton(const char *name, const QString &caption, QRect place,
                                        int command, QStyle::StandardPixmap picture) {
  auto *button = new QPushButton(caption, this);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(place);
  button->setAutoDefault(false);
  if (picture != QStyle::SP_CustomBase) button->setIcon(style()->standardIcon(picture));
  if (command != 0)
    connect(button, &QPushButton::clicked, this,
            [this, command] { Q_EMIT CommandChosen(command); });
  return button;
}

TEnterEdit *TAbsSpellDialog::AddWordEdit(QRect place) {
  auto *edit = new TEnterEdit(this);
  edit->setObjectName(QStringLiteral("edtWord"));
  edit->setGeometry(place);
  connect(edit, &TEnterEdit::KeyUp, this, &TAbsSpellDialog::QuickSuggest);
  return edit;
}

TNewListBox *TAbsSpellDialog::AddSuggestionList(QRect place) {
  auto *list = new TNewListBox(this);
  list->setObjectName(QStringLiteral("lstSuggest"));
  list->setGeometry(place);
  connect(list, &TNewListBox::Change, this, &TAbsSpellDialog::CopySelectedSuggestion);
  // A double-click anywhere on the list replaces: with the selected suggestion, or with what
  // the replacement box holds when none is selected (an empty list, below its items).
  connect(list, &TNewListBox::DoubleClicked, this, [this] {
    CopySelectedSuggestion();
    Q_EMIT CommandChosen(cmReplace);
  });
  return list;
}

QFrame *TAbsSpellDialog::AddAccentPanel(int left, int top) {
  auto *panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("pnlIcons"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setGeometry(left, top, 177, 23);
  const QFont font = Fonts::Face(QStringLiteral("MS Sans Serif"), 12);
  for (const TAccentButton &accent : kAccentButtons) {
    auto *button = new QToolButton(panel);
    button->setObjectName(QString::fromLatin1(accent.name));
    button->setText(QString::fromUtf8(accent.caption));
    button->setFont(font);
    button->setGeometry(accent.left, 2, 20, 19);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, button] {
      // The letter replaces the selection of the replacement box or goes in at its caret.
      edtWord->insert(button->text().left(1));
    });
  }
  panel->hide();
  return panel;
}

void TAbsSpellDialog::PlaceListBelowPanel(TAccentSet accents, QLabel *label, int labelTop,
                                          int listHeight) {
  const int shift = (accents & acSpanish) ? pnlIcons->height() : 0;
  pnlIcons->setVisible(shift > 0);
  lstSuggest->setGeometry(lstSuggest->x(), pnlIcons->y() + 1 + shift, lstSuggest->width(),
                          listHeight - shift);
  label->move(label->x(), labelTop + shift);
}

void TAbsSpellDialog::SetTabChain(std::initializer_list<QWidget *> chain) {
  QWidget *previous = nullptr;
  for (QWidget *next : chain) {
    if (previous) setTabOrder(previous, next);
    previous = next;
  }
}

void TAbsSpellDialog::StoreLanguage(int language) {
  labelLanguage_ = language;
  if (language > SpellLanguages::lgEnglish && language < SpellLanguages::kCount)
    setWindowTitle(QString::fromUtf8(kTitles[language]));
}

void TAbsSpellDialog::QuickSuggest(int key, Qt::KeyboardModifiers modifiers) {
  // Held now: the released key's own modifiers, or any the keyboard holds at this moment.
  const Qt::KeyboardModifiers held = modifiers | QGuiApplication::queryKeyboardModifiers();
  if (held & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier)) return;
  // Letter and digit keys have their character's code; other keys do not count.
  if (key <= 0 || key > 0xFF || !TAbsBuffer::IsWordChar(static_cast<unsigned char>(key))) return;
  lstSuggest->clear();
  if (edtWord->text().isEmpty()) return;
  if (TDictionary *dictionary = TDictionary::Instance())
    lstSuggest->addItems(dictionary->SuggestCompletions(edtWord->text(), suggestionCount_));
}

void TAbsSpellDialog::CopySelectedSuggestion() {
  const QString text = lstSuggest->SelectedText();
  if (!text.isEmpty()) edtWord->setText(text);
}
