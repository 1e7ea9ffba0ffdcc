// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/SmtpSecurity.h"

QString SmtpSecurityText(TSmtpSecurity security) {
  switch (security) {
    case TSmtpSecurity::StartTls:
      return QStringLiteral("STARTTLS");
    case TSmtpSecurity::Tls:
      return QStringLiteral("TLS");
    case TSmtpSecurity::None:
      break;
  }
  return QStringLiteral("None");
}

TSmtpSecurity SmtpSecurityFromText(const QString &text) {
  const QString clean = text.trimmed();
  if (clean.compare(QStringLiteral("STARTTLS"), Qt::CaseInsensitive) == 0)
    return TSmtpSecurity::StartTls;
  if (clean.compare(QStringLiteral("TLS"), Qt::CaseInsensitive) == 0) return TSmtpSecurity::Tls;
  return TSmtpSecurity::None;
}

int SmtpSecurityDefaultPort(TSmtpSecurity security) {
  switch (security) {
    case TSmtpSecurity::StartTls:
      return 587;
    case TSmtpSecurity::Tls:
      return 465;
    case TSmtpSecurity::None:
      break;
  }
  return 25;
}
