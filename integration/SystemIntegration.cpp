// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/SystemIntegration.h"

#include <QAction>
#include <QCoreApplication>

TSystemIntegration::TSystemIntegration(QAction *mniSetDefault, QObject *parent,
                                       const QString &programPath)
    : QObject(parent),
      mniSetDefault_(mniSetDefault),
      editor_(programPath.isEmpty() ? QCoreApplication::applicationFilePath() : programPath),
      autostart_(QString(), programPath) {
  TAutostart::LoadMainWindowValues(autostart_);
}

void TSystemIntegration::mniOptionsClick() {
  if (!mniSetDefault_) return;
  const bool isDefault = editor_.IsDefault();
  const QString hint = isDefault ? QStringLiteral("Remove Vellumix as the default notepad.")
                                 : QStringLiteral("Set Vellumix as the default notepad.");
  mniSetDefault_->setChecked(isDefault);
  mniSetDefault_->setToolTip(hint);
  mniSetDefault_->setStatusTip(hint);
  mniSetDefault_->setProperty("hint", hint);
}

void TSystemIntegration::mniSetDefaultClick() {
  if (!mniSetDefault_) return;
  const bool makeDefault = mniSetDefault_->isChecked();
  if (makeDefault)
    editor_.MakeDefault();
  else
    editor_.Undo();
  mniSetDefault_->setChecked(makeDefault);
}
