// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The socket error numbers and texts the mail engine reports. The numbers are the classic
// socket error codes (10000 plus the error, 11001 to 11004 for host lookups); POSIX errno
// values are mapped onto them.
namespace SocketErrors {

constexpr int WouldBlock = 10035;
constexpr int HostNotFound = 11001;
constexpr int NoRecovery = 11003;

// "number:text" for a number of the table, "Unknown Error No. n" for any other number,
// empty for 0.
QString Message(int errorNo);

// The table's text alone ("Connection refused"); empty for 0 and numbers not in the table.
QString Text(int errorNo);

// The table's number for a POSIX errno value; values the table lacks are returned as they
// are (and then read "Unknown Error No. n").
int FromErrno(int posixError);

// The table itself: 51 entries, the last being 0 "Unrecognized error code".
struct TEntry {
  int number;
  const char *text;
};
extern const TEntry Table[51];

}  // namespace SocketErrors
