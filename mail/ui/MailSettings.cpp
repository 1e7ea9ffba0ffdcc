// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/ui/MailSettings.h"

#include "settings/ui/FormTables.h"
#include "settings/ui/Holder.h"

THolder *TMailSettings::Find(const QString &name) const {
  return holders_ ? holders_->findChild<THolder *>(name) : nullptr;
}

QString TMailSettings::Caption(const QString &name) const {
  const THolder *holder = Find(name);
  return holder ? holder->Caption() : QString();
}

void TMailSettings::SetCaption(const QString &name, const QString &text) {
  if (THolder *holder = Find(name)) holder->SetCaption(text);
}

bool TMailSettings::Checked(const QString &name) const {
  const THolder *holder = Find(name);
  return holder && holder->Checked();
}

void TMailSettings::SetChecked(const QString &name, bool checked) {
  if (THolder *holder = Find(name)) holder->SetChecked(checked);
}

QStringList TMailSettings::Lines(const QString &name) const {
  const THolder *holder = Find(name);
  return holder ? holder->Lines() : QStringList();
}

bool TMailSettings::NoServer(const QString &host) {
  const QString trimmed = host.trimmed();
  return trimmed.isEmpty() ||
         trimmed.compare(FormTables::DefaultSmtpHost, Qt::CaseInsensitive) == 0 ||
         trimmed.compare(FormTables::FormerSmtpHost, Qt::CaseInsensitive) == 0;
}
