// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

// The memory figures of the running system, from /proc/meminfo.
namespace SystemMemory {

// The text after "name:" on the first line of a /proc file's text that starts with it,
// trimmed; empty when there is none.
QByteArray ProcField(const QByteArray &text, const QByteArray &name);

// The value of a "Name:   1234 kB" line of a /proc/meminfo (or /proc/self/status) text, in
// bytes (a value without "kB" is taken as it stands); 0 when the line is absent or not a
// number. Never overflows.
quint64 MemInfoValue(const QByteArray &memInfo, const QByteArray &name);

// The bytes the system can still give programs without swapping ("MemAvailable"); -1 when
// the system does not say.
qint64 AvailableBytes();

// Gives the system back the pages of memory this program has freed. The C library keeps freed
// memory for reuse by the thread that had it, so a large text let go piece by piece while a
// document grows from it on another thread would otherwise stay resident beside the document.
void GiveBackFreed();

}  // namespace SystemMemory
