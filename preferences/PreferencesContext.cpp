// SPDX-License-Identifier: GPL-3.0-or-later
#include "preferences/PreferencesContext.h"

#include <QWidget>

#include "settings/core/RootKey.h"
#include "settings/core/SettingsError.h"
#include "settings/ui/FormStorage.h"
#include "settings/ui/Holder.h"

THolder &TPreferencesContext::Holder(const char *name) const {
  auto *holder = main.findChild<THolder *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
  Q_ASSERT_X(holder, "TPreferencesContext::Holder", name);
  return *holder;
}

void TPreferencesContext::WriteEditSetting(const QString &name, const QString &text) {
  try {
    ::WriteEditSetting(name, text);
  } catch (const ESettingsError &error) {
    TFormStorage::Report(error.Message());
  }
}
