// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>

class TEditHost;

// The pictures of the mail windows' commands, taken from the main window's glyph list.
struct TMailIcons {
  QIcon enterText;
  QIcon attachFile;
  QIcon addAttachment;
  QIcon removeAttachment;
  QIcon send;
  QIcon close;
  QIcon addressBook;
  QIcon useAddress;
  QIcon deleteAddress;
};

// What the mail windows need of the program around them.
struct TMailContext {
  // The owner of the named setting holders (SMTPHost, SMTPUEmail, FilePath, dlgOpen, ...).
  QObject *holders = nullptr;
  // Pauses stay-on-top while a mail window is shown; none in a program without it.
  TEditHost *host = nullptr;
  TMailIcons icons;
};
