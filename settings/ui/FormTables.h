// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ui/FormStorage.h"

// The stored properties of the program's windows, in the order they are loaded, with their
// defaults in the stored form. A window gives its pair to TFormStorage::SetStoredProps.
namespace FormTables {

// Section "Main Form" of TfrmMain.
QStringList MainFormProps();
QList<TStoredDefault> MainFormDefaults();

// Section "Edit Form", shared by every TfrmEdit.
QStringList EditFormProps();
QList<TStoredDefault> EditFormDefaults();

// Section "Preferences" of the preferences dialog.
QStringList PreferencesProps();
QList<TStoredDefault> PreferencesDefaults();

// Section "Email Form" of the compose window and "Email Addresses" of the address book.
QStringList EmailFormProps();
QList<TStoredDefault> EmailFormDefaults();
QStringList EmailAddressesProps();
QList<TStoredDefault> EmailAddressesDefaults();

// Placeholders of the mail holders until the user enters real ones. A host equal to the
// placeholder (in any letter case) means that no server is configured; settings written by
// earlier builds hold the former placeholder, which counts the same.
inline const QString DefaultSmtpHost = QStringLiteral("SMTP.yourhost.com");
inline const QString FormerSmtpHost = QStringLiteral("mail.example.com");
inline const QString DefaultSmtpUserId = QStringLiteral("username");

}  // namespace FormTables
