// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "print/core/ReportTemplate.h"

// The template file: readable UTF-8 text, one statement per line.
//
//   VellumixReport 1
//   page size=A4 orientation=portrait left=15 top=15 right=15 bottom=15
//   band kind=header height=16
//   text x=0 y=0 w=120 h=6 font="DejaVu Sans" size=9 bold=1 italic=0 color=#000000 align=left
//   frame=0 | [Text File Name] line x=0 y=8 w=180 h=0 width=0.3 color=#808080 band kind=data
//   height=240
//   ...
//
// "| " lines are the text lines of the text object above them ("|" alone is an empty line);
// blank lines and lines starting with "#" are ignored. The first line names the format and
// its version; a newer version is refused rather than misread.
namespace TemplateFile {

inline constexpr int Version = 1;
// Bounds on what a template may hold, so a damaged file cannot exhaust memory.
inline constexpr qint64 MaxFileSize = 1 << 20;
inline constexpr int MaxObjectsPerBand = 500;
inline constexpr int MaxLinesPerObject = 200;
inline constexpr double MaxLength = 2000;  // mm

// Parses a template; on failure returns nothing and sets error to a text naming the line.
std::optional<TReportTemplate> Parse(const QByteArray &bytes, QString *error);
QByteArray Format(const TReportTemplate &report);

// Reads and parses a file. The error is "Cannot open file <name>" when the file cannot be
// read, and "<name> is not a valid print template: <reason>" when it is damaged.
std::optional<TReportTemplate> Load(const QString &fileName, QString *error);
// Writes the file safely (a temporary file renamed over it); false with error set on failure.
bool Save(const QString &fileName, const TReportTemplate &report, QString *error);

}  // namespace TemplateFile
