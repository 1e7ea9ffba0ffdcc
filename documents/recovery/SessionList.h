// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <vector>

class TRootKey;

// A document of the last session: its file and where the caret stood.
struct TSessionDocument {
  QString fileName;
  qsizetype caret = 0;
  bool operator==(const TSessionDocument &) const = default;
};

// The "Session" section of the settings tree: whether the last session is reopened at start
// ("Reopen", "True" or "False"), and the documents with a file that were open at the last
// orderly exit ("Count", then "File1", "Caret1", ...).
namespace SessionList {

inline const QString Section = QStringLiteral("Session");
// More documents than this are not kept.
inline constexpr int MaxDocuments = 256;

bool ReopenEnabled(const TRootKey &root);
void SetReopenEnabled(TRootKey &root, bool on);

std::vector<TSessionDocument> Load(const TRootKey &root);
void Save(TRootKey &root, const std::vector<TSessionDocument> &documents);

}  // namespace SessionList
