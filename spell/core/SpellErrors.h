// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Errors of the spell engine. Each carries the text a user is shown; what() gives it in UTF-8.
class TSpellError : public std::exception {
 public:
  explicit TSpellError(QString message);
  const QString &Message() const { return message_; }
  const char *what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

// A second dictionary object was requested while one exists.
class TEDictionaryInUse : public TSpellError {
 public:
  using TSpellError::TSpellError;
};

// A .dct file failed its signature check.
class TEDictionaryCorrupt : public TSpellError {
 public:
  using TSpellError::TSpellError;
};

// The dictionary compiler refused its input (too many nodes, too many first letters).
class TEDictionaryTooLarge : public TSpellError {
 public:
  using TSpellError::TSpellError;
};

// File errors of the engine. They live in their own namespace so that other engines may keep
// file errors of the same names without the two colliding in one program.
namespace Spell {

// A file could not be found or opened.
class EFOpenError : public TSpellError {
 public:
  using TSpellError::TSpellError;
};

// A file could not be read (too short, unreadable block, too large).
class EInOutError : public TSpellError {
 public:
  using TSpellError::TSpellError;
};

// A file could not be created or written.
class EFCreateError : public TSpellError {
 public:
  using TSpellError::TSpellError;
};

}  // namespace Spell
