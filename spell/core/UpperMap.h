// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The upper-case form of a code page 437 character as the suggestion engine sees it: the
// accented lower-case letters map to their capital or to a plain ASCII capital, ASCII letters
// to their capitals, and every other character to itself.
unsigned char UpperMap(unsigned char ch);
