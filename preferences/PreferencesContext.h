// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/core/ProductTexts.h"

class QWidget;
class TEditHost;
class TSpellDlg;
class TfrmEdit;
class THolder;

// The product name the texts of these windows carry.
inline const QString ProductName = ProductTexts::Name();

// What the preferences dialog and the set-up wizard reach of the main window, which owns
// them: its setting holders and other named parts (found by name among its children: the
// holders, the Open dialog's stored filters "dlgOpen", the style items "mniExplore" and
// "mniStandard", the tool bar "barMCustom", the workspace area), its open workspaces, its
// spell-check component and its favourite files.
struct TPreferencesContext {
  QWidget &main;
  TEditHost &host;
  TSpellDlg &spell;
  std::function<QList<TfrmEdit *>()> editWindows;
  std::function<QStringList()> favorites;
  std::function<void(const QStringList &)> setFavorites;

  // The named holder of the main window; a missing one is a programming error.
  THolder &Holder(const char *name) const;
  // Writes a value of the shared document-window section at once; a failure is reported.
  static void WriteEditSetting(const QString &name, const QString &text);
};
