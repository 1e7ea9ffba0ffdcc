#pragma once

#include "FormStorage.h"

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

// Placeholders of the mail holders until the user enters real ones.
inline const QString DefaultSmtpHost = QStringLiteral("mail.example.com");
inline const QString DefaultSmtpUserId = QStringLiteral("username");

}  // namespace FormTables
