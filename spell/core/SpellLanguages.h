// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The label languages of the spell checker, in their stored order.
namespace SpellLanguages {

enum TLanguages { lgEnglish, lgSpanish, lgBritish, lgItalian, lgFrench, lgGerman, lgDutch };
inline constexpr int kCount = 7;

// The language's texts used by the check itself. The two message texts hold %s where the
// word goes.
struct TCheckTexts {
  const char *dictionaryBase;  // base name of the main dictionary file
  const char *wordFound;
  const char *notFound;
  const char *confirmAdd;
  const char *alreadyKnown;
  const char *finishedClean;
  const char *finishedReplaced;
};

// The texts of a language; out-of-range values give the English ones.
const TCheckTexts &CheckTexts(int language);

// A message text with %s replaced by word.
QString WithWord(const char *message, const QString &word);

}  // namespace SpellLanguages
