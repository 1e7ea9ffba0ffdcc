// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <functional>

enum UUMethods { uuMime = 0, uuCode = 1 };

// Turns the bytes of an attachment into lines of printable text: MIME base64 or uuencode,
// 45 input bytes a line, each line ended by CR LF. Uuencoded output has no begin and end
// lines, only the data lines and a closing line of a single backquote.
class TNMUUProcessor {
 public:
  static constexpr int BytesPerLine = 45;

  UUMethods Method = uuMime;
  QIODevice *InputStream = nullptr;
  QIODevice *OutputStream = nullptr;
  std::function<void()> OnBeginEncode;
  // Called when encoding ends, also after an error.
  std::function<void()> OnEndEncode;
  // Called after each block of lines written (about 46 KB of input), so a caller can keep
  // its event loop turning while a large file is encoded.
  std::function<void()> OnProgress;

  // Encodes the whole input (read from its start) into the output, which is left rewound.
  // A read or write error throws EMailError; the output then holds the lines written so far.
  void Encode();

  // The encoding of bytes as one block of lines, as Encode writes it.
  static QByteArray EncodeBytes(QByteArrayView bytes, UUMethods method);
};
