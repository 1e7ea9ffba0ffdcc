// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "documents/ui/EditHost.h"

// A frame for document windows under test: new windows open normal, the holders and titles
// are not kept, and every question the window asks of its frame is answered "nothing done".
// It counts the stay-on-top pauses so a test can see a dialog suspend it.
class TTestEditHost : public TEditHost {
 public:
  QString EditDisplay() const override { return QStringLiteral("2"); }
  void SetFilePath(const QString &) override {}
  void SetCurrentFileName(const QString &) override {}
  void TopMostOff() override { ++topMostPauses; }
  void TopMostOn() override {}
  void UpdateTitles() override {}
  void UpdateCommands() override {}
  QMenu *PopupMenu() const override { return nullptr; }
  void OpenWebLink(const QString &, const QString &) override {}
  bool SaveFromClose(TfrmEdit *) override { return false; }
  void Activate(TfrmEdit *) override {}

  int topMostPauses = 0;
};
