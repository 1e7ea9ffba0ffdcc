// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// How a mail client protects its connection to the server.
//  None:     clear text, HELO dialogue, no login (port 25).
//  StartTls: clear greeting, then STARTTLS and EHLO again over TLS (port 587); login allowed.
//  Tls:      TLS from the first byte (port 465); login allowed.
enum class TSmtpSecurity { None, StartTls, Tls };

// The setting holder's texts: "None", "STARTTLS", "TLS".
QString SmtpSecurityText(TSmtpSecurity security);
// Case-insensitive; any text not naming a choice (an empty holder included) gives None.
TSmtpSecurity SmtpSecurityFromText(const QString &text);
// The usual submission port of a choice: 25, 587 or 465.
int SmtpSecurityDefaultPort(TSmtpSecurity security);
