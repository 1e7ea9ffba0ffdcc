// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The four-character sound code of a code page 437 text: its first character (ASCII letters
// in capitals), then the digits of the following letters, with vowels (and W, Y) dropped and
// a digit equal to the one before it dropped. A character that is no ASCII letter yields the
// character of value 0, which is kept like a digit. With pad, a code shorter than four
// characters is filled with '0'.
QByteArray PhoneticCode(QByteArrayView text, bool pad);
