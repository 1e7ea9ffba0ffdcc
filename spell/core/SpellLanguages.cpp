// SPDX-License-Identifier: GPL-3.0-or-later
#include "spell/core/SpellLanguages.h"

#include <array>

namespace SpellLanguages {

namespace {

// Texts as UTF-8; '\r' is the program's line break in messages.
constexpr std::array<TCheckTexts, kCount> kTexts = {{
    {"English", "Word found:", "Not found:", "Add \"%s\" to dictionary?",
     "\"%s\" already in dictionary.", "No errors found. Spell checking complete...",
     "Spell checking complete."},
    {"Spanish", "Se encontró:", "No se encontró:", "¿Quiere añadir \"%s\" al diccion",
     "\"%s\" ya está en el diccionario",
     "Se terminó de verificar la ortografía.\rNo se encontraron errores...",
     "Se terminó de verificar la ortografía."},
    {"British", "Word found:", "Not found:", "Add \"%s\" to dictionary?",
     "\"%s\" already in dictionary.", "No errors found. Spell checking complete...",
     "Spell checking complete."},
    {"Italian", "Parola trovata", "Non trovata", "¿Quiere añadir \"%s\" al diccion",
     "\"%s\" ya esta en el diccionario", "Controllo ortografico completato. Nessun errore...",
     "Controllo ortografico completato."},
    {"French", "Mot trouvé", "Pas dans le dic", "Ajouter \"%s\" au dictionaire?",
     "\"%s\" déjà dans le dictionare.", "Pas d'erreurs. Vérification de l'orthographe terminée.",
     "Vérification de l'orthographe terminée."},
    {"German", "Gefundenes Wort", "Nicht Gefunden", "\"%s\" in Wörterbuch einfügen?",
     "\"%s\" ist schon im Wörterbuch", "Keine Fehler gefunden. Rechtschreibprüfung vollständig.",
     "Rechtschreibprüfung vollständig."},
    {"Dutch", "Gevonden:", "Niet gevonden:", "Add \"%s\" to dictionary?",
     "\"%s\" already in dictionary.", "Geen spelfouten. Spellingcontrole voltooid...",
     "Spellingcontrole voltooid..."},
}};

}  // namespace

const TCheckTexts &CheckTexts(int language) {
  return kTexts[(language >= 0 && language < kCount) ? language : lgEnglish];
}

QString WithWord(const char *message, const QString &word) {
  // Replaced once, by hand: the word may itself contain '%'.
  QString text = QString::fromUtf8(message);
  const qsizetype at = text.indexOf(QLatin1String("%s"));
  if (at >= 0) text.replace(at, 2, word);
  return text;
}

}  // namespace SpellLanguages
