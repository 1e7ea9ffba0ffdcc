// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "platform/core/LineEnds.h"
#include "platform/core/ProductTexts.h"

namespace {

QString displayText(const QString &text) { return LineEnds::ToNewlines(text); }

QMessageBox::Icon iconOf(TMsgKind kind) {
  switch (kind) {
    case TMsgKind::Warning:
      return QMessageBox::Warning;
    case TMsgKind::Error:
      return QMessageBox::Critical;
    case TMsgKind::Information:
      return QMessageBox::Information;
    case TMsgKind::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Room a title bar takes besides its text: the window icon, three buttons and margins.
constexpr int kTitleBarAllowance = 130;

// A box is at least as wide as its title needs, so the title is never cut short.
void fitTitle(QMessageBox &box) {
  auto *grid = qobject_cast<QGridLayout *>(box.layout());
  if (!grid) return;
  const int width = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
                        .horizontalAdvance(box.windowTitle()) +
                    kTitleBarAllowance;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                grid->rowCount(), 0, 1, grid->columnCount());
}

MessageBox::TMsgAnswerer &answerer() {
  static MessageBox::TMsgAnswerer current;
  return current;
}

// The test seam's answer, when an answerer is set and takes the box.
std::optional<TMsgResult> seamAnswer(QWidget *parent, const QString &title, const QString &text,
                                     TMsgKind kind, TMsgButtons buttons) {
  if (!answerer()) return std::nullopt;
  return answerer()(TMsgAsked{parent, title, text, kind, buttons});
}

QString &applicationTitle() {
  static QString title = ProductTexts::Name();
  return title;
}

}  // namespace

namespace MessageBox {

void SetApplicationTitle(const QString &title) { applicationTitle() = title; }
QString ApplicationTitle() { return applicationTitle(); }

QString MsgHeader() { return ProductTexts::Name() + QStringLiteral("\r----------------\r"); }

TMsgAnswerer SetAnswerer(TMsgAnswerer next) { return std::exchange(answerer(), std::move(next)); }

TMsgResult EscapeAnswer(TMsgButtons buttons) {
  switch (buttons) {
    case TMsgButtons::Ok:
      return TMsgResult::Ok;
    case TMsgButtons::Yes:
      return TMsgResult::Yes;
    case TMsgButtons::YesNo:
      return TMsgResult::No;
    case TMsgButtons::YesNoCancel:
      return TMsgResult::Cancel;
  }
  return TMsgResult::Ok;
}

QString Title(TMsgKind kind) {
  switch (kind) {
    case TMsgKind::Warning:
      return QStringLiteral("Warning");
    case TMsgKind::Error:
      return QStringLiteral("Error");
    case TMsgKind::Information:
      return QStringLiteral("Information");
    case TMsgKind::Confirmation:
      return QStringLiteral("Confirm");
  }
  return {};
}

TMsgResult Show(QWidget *parent, const QString &text, TMsgKind kind, TMsgButtons buttons) {
  if (const auto answer = seamAnswer(parent, Title(kind), displayText(text), kind, buttons))
    return *answer;
  QMessageBox box(iconOf(kind), Title(kind), displayText(text), QMessageBox::NoButton, parent);
  box.setObjectName(QString::fromLatin1(ObjectName));
  box.setTextFormat(Qt::PlainText);
  fitTitle(box);
  QPushButton *ok = nullptr, *yes = nullptr, *no = nullptr, *cancel = nullptr;
  switch (buttons) {
    case TMsgButtons::Ok:
      ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
      box.setEscapeButton(ok);
      break;
    case TMsgButtons::Yes:
      yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
      box.setEscapeButton(yes);
      break;
    case TMsgButtons::YesNoCancel:
      cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
      [[fallthrough]];
    case TMsgButtons::YesNo:
      yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
      no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
      box.setDefaultButton(yes);
      box.setEscapeButton(cancel ? cancel : no);
      break;
  }
  box.exec();
  const auto *clicked = box.clickedButton();
  if (clicked == yes && yes) return TMsgResult::Yes;
  if (clicked == no && no) return TMsgResult::No;
  if (clicked == ok && ok) return TMsgResult::Ok;
  return EscapeAnswer(buttons);
}

void ShowError(QWidget *parent, const QString &text) {
  if (seamAnswer(parent, applicationTitle(), displayText(text + u'.'), TMsgKind::Error,
                 TMsgButtons::Ok))
    return;
  QMessageBox box(QMessageBox::Critical, applicationTitle(), displayText(text + u'.'),
                  QMessageBox::NoButton, parent);
  box.setObjectName(QString::fromLatin1(ObjectName));
  box.setTextFormat(Qt::PlainText);
  fitTitle(box);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace MessageBox
