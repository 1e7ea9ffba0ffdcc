// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

#include "PrefsFixture.h"
#include "TestEnvironment.h"
#include "preferences/PageManager.h"
#include "preferences/fmSetup.h"

namespace {

// Texts that do not fit their control, and controls that reach outside their parent, among
// the visible controls of page.
QStringList CutOff(QWidget *page) {
  QStringList faults;
  for (QWidget *w : page->findChildren<QWidget *>()) {
    if (!w->isVisibleTo(page) || !w->parentWidget()) continue;
    const QRect inParent(QPoint(0, 0), w->parentWidget()->size());
    if (!inParent.contains(w->geometry()))
      faults << w->objectName() + u'/' + w->metaObject()->className() + QStringLiteral(" outside");
    const auto *label = qobject_cast<QLabel *>(w);
    const bool text = (label && !label->wordWrap() && label->pixmap().isNull()) ||
                      qobject_cast<QAbstractButton *>(w) || qobject_cast<QGroupBox *>(w);
    if (text && w->width() < w->minimumSizeHint().width())
      faults << w->objectName() + u'/' + w->metaObject()->className() +
                    QStringLiteral(" narrower than its text");
    if (label && label->wordWrap() && w->height() < label->heightForWidth(w->width()))
      faults << w->objectName() + QStringLiteral(" lower than its text");
  }
  return faults;
}

// Saves a picture of the window when VELLUMIX_SCREENSHOTS names a folder.
void Shoot(QWidget *window, const QString &name) {
  const QString folder = qEnvironmentVariable("VELLUMIX_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  window->grab().save(folder + u'/' + name + QStringLiteral(".png"));
}

}  // namespace

TEST_F(PrefsFixture, EveryPreferencesPageShowsAllItsControlsUncut) {
  TfrmMain &m = Start();
  Preferences(m, [](TfrmTools &d) {
    for (int i = 0; i < d.pagPrefer->count(); ++i) {
      d.pagPrefer->setCurrentIndex(i);
      TestEnvironment::Settle();
      QWidget *page = d.pagPrefer->currentWidget();
      EXPECT_EQ(CutOff(page), QStringList()) << page->objectName().toStdString();
      Shoot(&d, QStringLiteral("preferences-") + page->objectName());
    }
    Cancel(d);
  });
}

TEST_F(PrefsFixture, EveryWizardPageShowsAllItsControlsUncut) {
  TfrmMain &m = Start();
  TfrmSetup wizard(m, &m);
  wizard.show();
  TestEnvironment::Settle();
  for (int i = 0; i < 4; ++i) {
    QWidget *page = wizard.nbkSetup->currentWidget();
    EXPECT_EQ(CutOff(page), QStringList()) << wizard.pagSetup->ActivePageName().toStdString();
    Shoot(&wizard, QStringLiteral("wizard-%1").arg(i));
    wizard.btnNext->click();
  }
  wizard.close();
}
