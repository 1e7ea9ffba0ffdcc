// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "spell/core/LanguageRules.h"
#include "spell/core/LinkedList.h"
#include "spell/core/WordList.h"

class TDCTFile;

// The spell checker's word store: the main dictionary files, the user word list and the
// optional exclusion list. At most one object exists per process; Instance() reaches it.
// Words handed in as byte strings are code page 437; the suggestion calls take and return
// the user's text (Unicode) and convert at their edges.
class TDictionary {
 public:
  // Shows an error box to the user (the window layer installs one; without it the text goes
  // to the warning log).
  using TErrorBox = std::function<void(const QString &text)>;
  static void SetErrorBox(TErrorBox box);
  static TDictionary *Instance();

  // Raises TEDictionaryInUse, after the programmer-error box, when an object already exists.
  TDictionary();
  TDictionary(const TDictionary &) = delete;
  TDictionary &operator=(const TDictionary &) = delete;
  // Saves modified user words (a failure is shown in the error box) and closes the files.
  ~TDictionary();

  // True when the file is open (now or before, compared by file-name part); false when it does
  // not exist or cannot be opened. A corrupt or unreadable file raises its error.
  bool OpenMainDictionary(const QString &fileName);
  // A name without a folder lies in the user's data folder ($XDG_DATA_HOME/vellumix/), never
  // in the program's folder; until the user has one there, a file of that name beside the
  // first main file is read. A symbolic link there is not followed: it counts as no file,
  // and saving replaces the link by the user's own file. The file may be UTF-8 or code page
  // 437 (told apart per file) and is written back in the form it was read; a new file is
  // UTF-8.
  bool OpenUserDictionary(const QString &fileName);
  bool OpenExclusionList(const QString &fileName);

  // The spelling test. Besides the stored words (a capital in the word also matching the small
  // letter, accented ones included) it accepts what the language of the first main file makes
  // of known words: elisions, plural possessives, compounds (see TLanguageRules).
  bool IsWord(QByteArrayView word);
  const TLanguageRules &Rules() const { return rules_; }
  bool AddWord(QByteArrayView word);
  // When words were added: merges lines another writer added meanwhile, then writes the
  // list atomically; Spell::EFCreateError when it cannot be written (the list stays modified
  // then). An unchanged list is not written.
  void SaveUserDictionary();
  void CloseAll();

  bool Opened() const { return opened_; }
  bool Modified() const { return modified_; }
  TLinkedList &MainFiles() { return mainFiles_; }
  TDCTFile *FirstMainFile() const;
  const QString &UserDictionaryPath() const { return userPath_; }
  const TWordList &UserWords() const { return userWords_; }
  bool HasExclusionList() const { return exclusions_.has_value(); }
  // True when the exclusion list holds word (case ignored).
  bool IsExcluded(QByteArrayView word) const;

  // Split suggestions first, then ranked ones; at most max entries in the case of word.
  QStringList Suggest(const QString &word, int max);
  // Words of the first main file that begin with prefix, in file order.
  QStringList SuggestCompletions(const QString &prefix, int max);
  // Ways to cut word (code page 437) into two known words, as "left right".
  QList<QByteArray> SuggestSplits(QByteArrayView word, int max);
  // Re-cases each entry after the pattern of typed and converts it to Unicode.
  static QStringList RestoreCase(const QList<QByteArray> &list, QByteArrayView typed);

 private:
  struct TFileStamp {
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const TFileStamp &) const = default;
  };
  static TFileStamp StampOf(const QString &path);
  QString FirstMainFolder() const;
  // The lines of a word file in code page 437; utf8 tells whether the file was UTF-8 (valid
  // UTF-8 with at least one character beyond ASCII).
  static QList<QByteArray> ReadWordFile(const QString &path, bool *utf8 = nullptr);
  // A stored word or a user word (typed keeps its letter case), never an excluded one.
  bool IsStored(QByteArrayView typed);
  // typed, or typed with its first letter as a capital, is stored (an inner compound part).
  bool IsStoredPart(QByteArrayView typed);
  // typed is parts (at most two more after the first) of stored words, an "s" allowed
  // between two parts.
  bool IsCompound(QByteArrayView typed, int partsLeft);

  bool opened_ = false;
  TLanguageRules rules_;
  TLinkedList mainFiles_;
  QString userPath_;
  TWordList userWords_;
  // Exclusion words in file order, and their folded forms for lookup.
  struct TExclusions {
    QList<QByteArray> words;
    QList<QByteArray> folded;
  };
  std::optional<TExclusions> exclusions_;
  TFileStamp loadedStamp_;
  bool modified_ = false;
  bool userUtf8_ = true;  // the form the user dictionary is written in
  bool inSync_ = true;    // the file at the user-dictionary path holds the user word list
};
