// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include "ProductTexts.h"

namespace {

QString displayText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  return text;
}

QMessageBox::Icon iconOf(TMsgKind kind) {
  switch (kind) {
    case TMsgKind::Warning: return QMessageBox::Warning;
    case TMsgKind::Error: return QMessageBox::Critical;
    case TMsgKind::Information: return QMessageBox::Information;
    case TMsgKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Room a title bar takes besides its text: the window icon, three buttons and margins.
constexpr int kTitleBarAllowance = 130;

// A box is at least as wide as its title needs, so the title is never cut short.
void fitTitle(QMessageBox &box) {
  auto *grid = qobject_cast<QGridLayout *>(box.layout());
  if (!grid) return;
  const int width = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box.windowTitle()) +
                    kTitleBarAllowance;
  grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                grid->columnCount());
}

QString &applicationTitle() {
  static QString title = ProductTexts::Name();
  return title;
}

}  // namespace

namespace MessageBox {

void SetApplicationTitle(const QString &title) { applicationTitle() = title; }
QString ApplicationTitle() { return applicationTitle(); }

QString MsgHeader() {
  return ProductTexts::Name() + QStringLiteral("\r----------------\r");
}

QString Title(TMsgKind kind) {
  switch (kind) {
    case TMsgKind::Warning: return QStringLiteral("Warning");
    case TMsgKind::Error: return QStringLiteral("Error");
    case TMsgKind::Information: return QStringLiteral("Information");
    case TMsgKind::Confirmation: return QStringLiteral("Confirm");
  }
  return {};
}

TMsgResult Show(QWidget *parent, const QString &text, TMsgKind kind, TMsgButtons buttons) {
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
  if (cancel) return TMsgResult::Cancel;
  if (no) return TMsgResult::No;
  return yes ? TMsgResult::Yes : TMsgResult::Ok;
}

void ShowError(QWidget *parent, const QString &text) {
  QMessageBox box(QMessageBox::Critical, applicationTitle(),
                  displayText(text + u'.'), QMessageBox::NoButton, parent);
  box.setObjectName(QString::fromLatin1(ObjectName));
  box.setTextFormat(Qt::PlainText);
  fitTitle(box);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace MessageBox
