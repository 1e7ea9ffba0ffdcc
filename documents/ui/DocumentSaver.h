// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class TEditHost;
class TfrmEdit;

// What a save needs from the frame's settings at the moment it runs.
struct TSaveSettings {
  bool makeBackup = false;  // keep the previous file as a .bak
  QString folder;           // where Save As starts
  QString filter;           // the Save As dialog's types, "Name|*.a;*.b|..."
  int filterIndex = 1;      // 1-based
  // Told of the name Save As chose, before the file is written (the recent-files list).
  std::function<void(const QString &)> named;
};

// The save policy of a document window: File|Save, File|Save As and the close question's
// Yes. An untitled document goes through Save As; a file another program changed since it
// was read is replaced only when the user agrees; a failure is reported with its reason and
// leaves the document changed; after a save the window knows its new format and file stamp.
class TDocumentSaver {
 public:
  explicit TDocumentSaver(TEditHost &host) : host_(host) {}

  // False when nothing was saved (failure reported, or cancelled).
  bool Save(TfrmEdit &window, const QString &fileName, const TSaveSettings &settings);
  bool SaveAs(TfrmEdit &window, const TSaveSettings &settings);

 private:
  TEditHost &host_;
};
