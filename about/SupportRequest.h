// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include "platform/core/ProductTexts.h"

class TSysInfoComp;

// The prepared technical-support message: its address, subject and the 19 lines of its text
// with the program's version and the machine summary.
namespace SupportRequest {

// The program's name as its texts show it.
inline const QString ProgramName = ProductTexts::Name();
// The maker's web site (the support address is the mail windows' own).
inline const QString WebSite = QStringLiteral("https://vellumix.example.org/");
inline const QString HelpDesk = QStringLiteral("https://vellumix.example.org/helpdesk/");

inline const QString Caption = QStringLiteral("Request for Tech Support");
QString Subject(const QString &programName);
QStringList Body(const QString &programName, const QString &version, const TSysInfoComp &info);

}  // namespace SupportRequest
