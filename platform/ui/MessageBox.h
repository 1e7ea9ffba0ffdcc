// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The program's message boxes: one of four kinds (icon and title), one of three button sets,
// returning the button pressed. Texts use a single CR for a line break, as everywhere in the
// program's messages; the box shows it as a line break.
enum class TMsgKind { Warning, Error, Information, Confirmation };
enum class TMsgButtons { Ok, Yes, YesNo, YesNoCancel };
enum class TMsgResult { Ok, Yes, No, Cancel };

// What a box asks, as a test sees it in place of the user.
struct TMsgAsked {
  QWidget *parent = nullptr;  // the window the box belongs to
  QString title;
  QString text;  // line breaks as '\n', as the box shows them
  TMsgKind kind = TMsgKind::Information;
  TMsgButtons buttons = TMsgButtons::Ok;
};

namespace MessageBox {

// The product name, a CR, sixteen hyphens and a CR: the start of every message of the main
// window, the document windows and the mail forms.
QString MsgHeader();

// Shows text in a modal box; closing it with Escape or its close box answers Cancel where
// there is a Cancel button, else No, else OK.
TMsgResult Show(QWidget *parent, const QString &text, TMsgKind kind, TMsgButtons buttons);

// The last-resort report of an error no command caught: error icon, the application title as
// the box's title, and the text with a full stop appended.
void ShowError(QWidget *parent, const QString &text);

// The application title (the task-bar text), which the last-resort box shows as its title.
void SetApplicationTitle(const QString &title);
QString ApplicationTitle();

// "Warning", "Error", "Information" or "Confirm".
QString Title(TMsgKind kind);

// Test seam: while an answerer is set, every box is offered to it first. A box it answers is
// not shown and returns that answer; one it declines (std::nullopt) is shown as usual.
// Returns the answerer set before, so a test can put it back.
using TMsgAnswerer = std::function<std::optional<TMsgResult>(const TMsgAsked &)>;
TMsgAnswerer SetAnswerer(TMsgAnswerer answerer);

// The answer a box gives when it is closed without a button: Cancel where there is a Cancel
// button, else No, else Yes or OK.
TMsgResult EscapeAnswer(TMsgButtons buttons);

// The object name every box carries, so tests and accessibility tools can find it.
inline constexpr const char *ObjectName = "vellumixMessageBox";

}  // namespace MessageBox
