// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>

// Building .dct files for tests: by hand from node values, or compiled from words.
namespace DctFiles {

// One node value.
uint32_t Node(char letter, bool last, bool wordEnd, uint32_t child);

// A file: byte 0, the signature, bytes 51..82 filled with filler, then the nodes
// (little-endian), then tail bytes (a partial node, say).
QByteArray Bytes(const QList<uint32_t> &nodes, char byte0 = 43, char filler = 0,
                 const QByteArray &tail = {});

// Writes bytes as a file named name in a fresh folder; returns its path.
QString Write(const QString &folder, const QString &name, const QByteArray &bytes);

// Compiles words into folder/name and returns the path.
QString Compile(const QString &folder, const QString &name, const QStringList &words);

}  // namespace DctFiles
