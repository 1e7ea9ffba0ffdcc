// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The pairs of an auto-correct list: one "misspelling=replacement" a line, UTF-8, any line
// end. The part before the first "=" is the word as the scanner finds it (code page 437,
// lower case); the rest replaces it. Lines without "=", or with an empty side, are ignored.
struct TAutoCorrectPairs {
  QList<QByteArray> from;
  QList<QString> to;
};

TAutoCorrectPairs ParseAutoCorrectList(const QByteArray &text);
