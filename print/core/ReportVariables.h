// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The variables a template's text objects may name in brackets ("[Page Number]").
namespace ReportVariables {

// The report's own category and its variables, as the designer's picker lists them.
inline constexpr const char *Category = "Vellumix";
QStringList CategoryVariables();  // "Text Body", "Text File Name", "Page Number"
// Variables the engine answers itself: "Page Number", "Total Pages", "Date", "Time".
QStringList EngineVariables();

// Variables whose value depends on the page being drawn; expanded when it is drawn.
bool IsPageVariable(const QString &name);

// Replaces every "[name]" in text whose value lookup answers; the rest stays as it is (so a
// misspelt or unknown variable prints visibly).
QString Expand(const QString &text,
               const std::function<std::optional<QString>(const QString &)> &lookup);

// The engine's answer for its page-independent variables at the given moment.
std::optional<QString> EngineValue(const QString &name, const QDateTime &now);
// The engine's answer for its page variables.
std::optional<QString> PageValue(const QString &name, int pageNumber, int totalPages);

}  // namespace ReportVariables
