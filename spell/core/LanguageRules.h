// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// What lookup and split suggestions know about the language of a main dictionary, chosen by
// the dictionary's file name ("French.dct", "Medical.dct", ...). Words are code page 437, in
// lower case.
struct TLanguageRules {
  // Elided words that stand before an apostrophe ("l'", "qu'"): "l'été" is right when "été" is.
  QList<QByteArray> elisions;
  // "users'" is right when "users" is.
  bool pluralPossessive = false;
  // A word made of two or three known words (each at least kMinCompoundPart letters, an "s"
  // allowed between them) is right.
  bool compounds = false;
  // The one-letter words: the only one-letter parts a split suggestion may have.
  QByteArray oneLetterWords;
  // Two-letter words a split part may be; other two-letter parts are mostly abbreviations or
  // suffixes ("ed", "ay", "re").
  QList<QByteArray> twoLetterWords;
  // Endings that are words in the list but never a word of their own in a split ("ing").
  QList<QByteArray> loneSuffixes;

  static constexpr int kMinCompoundPart = 3;

  static TLanguageRules For(const QString &dictionaryFileName);

  // The part after an elided word the word starts with, or an empty view.
  QByteArrayView AfterElision(QByteArrayView folded) const;
  // Whether a split may use part.
  bool SplitPartAllowed(QByteArrayView part) const;
};
