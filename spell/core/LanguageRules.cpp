// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/LanguageRules.h"

#include <QFileInfo>

#include "spell/core/WordText.h"

namespace {

QList<QByteArray> Words(const char *spaced) {
  QList<QByteArray> list = QByteArray(spaced).split(' ');
  list.removeAll(QByteArray());
  return list;
}

// Two-letter words of English that a reader accepts on their own.
constexpr char kEnglishTwo[] =
    "am an as at be by do go he if in is it me my no of oh ok on or ox so to up us we";
constexpr char kEnglishSuffixes[] = "ing ed es ly er ers ness ment ful ay ies ish ism ist";

}  // namespace

TLanguageRules TLanguageRules::For(const QString &dictionaryFileName) {
  const QString base = QFileInfo(dictionaryFileName).completeBaseName().toLower();
  TLanguageRules rules;
  if (base == u"french") {
    // The elided forms, with code page 437's letters.
    rules.elisions = Words("l' d' qu' n' s' c' j' m' t' jusqu' lorsqu' puisqu' quoiqu' quelqu'");
    rules.oneLetterWords = "ay\x85";  // a, y, à
    rules.twoLetterWords =
        Words("au ce de du en et il je la le ma me ne ni on ou sa se si ta te tu un vu");
  } else if (base == u"italian") {
    rules.elisions = Words(
        "l' un' d' c' m' t' s' v' n' dell' all' dall' nell' sull' coll' pell' quell' bell' "
        "sant' quest' nessun' ciascun' alcun' buon' tutt' mezz' senz' anch' cent' quand' com' "
        "dov' ch' gl'");
    rules.oneLetterWords = "aeio\x8A";  // a e i o è
    rules.twoLetterWords =
        Words("ci da di fa ha il io la le lo ma mi ne no se si su te ti tu un va vi");
  } else if (base == u"spanish") {
    rules.oneLetterWords = "aeouy";
    rules.twoLetterWords =
        Words("al da de el en es ha la le lo me mi ni no os se si su te tu un ya yo");
  } else if (base == u"german") {
    rules.compounds = true;
    rules.twoLetterWords = Words("ab am an da du er es im in ja je ob so um wo zu");
  } else if (base == u"dutch") {
    rules.compounds = true;
    rules.oneLetterWords = "ou";
    rules.twoLetterWords =
        Words("al af be da de en er ga ik in is je na nu of om op te tv uw wc we zo");
  } else {  // English, British, Medical, Legal and any other list
    rules.pluralPossessive = true;
    rules.oneLetterWords = "ai";
    rules.twoLetterWords = Words(kEnglishTwo);
    rules.loneSuffixes = Words(kEnglishSuffixes);
  }
  return rules;
}

QByteArrayView TLanguageRules::AfterElision(QByteArrayView folded) const {
  const qsizetype quote = folded.indexOf('\'');
  if (quote <= 0 || quote + 1 >= folded.size()) return {};
  const QByteArrayView head = folded.first(quote + 1);
  for (const QByteArray &elision : elisions)
    if (head == elision) return folded.sliced(quote + 1);
  return {};
}

bool TLanguageRules::SplitPartAllowed(QByteArrayView part) const {
  if (part.size() == 1) return oneLetterWords.contains(part.front());
  const QByteArray word = part.toByteArray();
  if (part.size() == 2 && !twoLetterWords.contains(word)) return false;
  return !loneSuffixes.contains(word);
}
