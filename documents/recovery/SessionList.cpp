// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/recovery/SessionList.h"

#include <algorithm>
#include <climits>

#include "settings/core/RootKey.h"

namespace {
QString fileValue(int n) { return QStringLiteral("File%1").arg(n); }
QString caretValue(int n) { return QStringLiteral("Caret%1").arg(n); }
}  // namespace

bool SessionList::ReopenEnabled(const TRootKey &root) {
  return root.ReadString(Section, QStringLiteral("Reopen"), QStringLiteral("False"))
             .trimmed()
             .compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
}

void SessionList::SetReopenEnabled(TRootKey &root, bool on) {
  root.WriteString(Section, QStringLiteral("Reopen"),
                   on ? QStringLiteral("True") : QStringLiteral("False"));
}

std::vector<TSessionDocument> SessionList::Load(const TRootKey &root) {
  std::vector<TSessionDocument> documents;
  const int count =
      std::clamp(root.ReadInteger(Section, QStringLiteral("Count"), 0), 0, MaxDocuments);
  for (int n = 1; n <= count; ++n) {
    const QString file = root.ReadString(Section, fileValue(n), QString());
    if (!file.isEmpty())
      documents.push_back({file, std::max(0, root.ReadInteger(Section, caretValue(n), 0))});
  }
  return documents;
}

void SessionList::Save(TRootKey &root, const std::vector<TSessionDocument> &documents) {
  const int old = root.ReadInteger(Section, QStringLiteral("Count"), 0);
  for (int n = 1; n <= std::clamp(old, 0, MaxDocuments); ++n) {
    root.DeleteValue(Section, fileValue(n));
    root.DeleteValue(Section, caretValue(n));
  }
  const int count = int(std::min<size_t>(documents.size(), MaxDocuments));
  root.WriteInteger(Section, QStringLiteral("Count"), count);
  for (int n = 1; n <= count; ++n) {
    root.WriteString(Section, fileValue(n), documents[size_t(n - 1)].fileName);
    root.WriteInteger(Section, caretValue(n),
                      int(std::min<qsizetype>(documents[size_t(n - 1)].caret, INT_MAX)));
  }
}
