// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/SaveNames.h"

#include "platform/core/Folders.h"

namespace SaveNames {

QString FromPanelText(const QString &panelText) {
  qsizetype start = 0;
  while (start < panelText.size() && panelText[start] == u' ') ++start;
  return panelText.mid(start);
}

QString FileNamePart(const QString &fileName) { return Folders::FileNameOf(fileName); }

bool IsUntitled(const QString &fileName) {
  return FileNamePart(fileName) == QLatin1String(UntitledName);
}

QString BackupFileName(const QString &fileName) {
  const qsizetype partStart = fileName.lastIndexOf(u'/') + 1;
  if (partStart >= fileName.size() || fileName[partStart] == u'.') return QString();
  const qsizetype dot = fileName.lastIndexOf(u'.');
  const QString stem = dot >= partStart ? fileName.left(dot) : fileName;
  const QString backup = stem + QLatin1String(".bak");
  return backup == fileName ? QString() : backup;
}

QString WithDefaultExtension(const QString &fileName, const QString &extension) {
  const QString part = FileNamePart(fileName);
  if (part.isEmpty() || part.lastIndexOf(u'.') > 0) return fileName;
  return fileName + u'.' + extension;
}

QString CannotCreateText(const QString &fileName) {
  return QLatin1String("Cannot create file ") + fileName + u'.';
}

bool IsRichTextName(const QString &fileName) {
  const QString part = FileNamePart(fileName);
  const qsizetype dot = part.lastIndexOf(u'.');
  return dot >= 0 && part.mid(dot + 1).compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0;
}

}  // namespace SaveNames
