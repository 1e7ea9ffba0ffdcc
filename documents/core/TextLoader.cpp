// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/core/TextLoader.h"

#include <algorithm>
#include <climits>

TTextLoader::TTextLoader(const QString &path, qint64 maxBytes, bool decode, bool threaded) {
  if (threaded)
    thread_ = std::thread([this, path, maxBytes, decode] { run(path, maxBytes, decode); });
  else
    run(path, maxBytes, decode);
}

TTextLoader::~TTextLoader() {
  cancel_ = true;
  if (thread_.joinable()) thread_.join();
}

void TTextLoader::run(const QString &path, qint64 maxBytes, bool decode) {
  // Reading takes the first four fifths of the way, decoding the rest.
  const int readShare = decode ? 800 : 1000;
  file_ = TextFile::ReadRegularFile(path, maxBytes, [this, readShare](qint64 done, qint64 size) {
    progress_ = size > 0 ? int(done * readShare / size) : readShare;
    return !cancel_;
  });
  if (file_.Ok() && cancel_) {
    file_ = TFileBytes{};
    file_.cancelled = true;
  }
  if (file_.Ok()) stamp_ = TFileStamp::OfContent(path, file_.bytes);
  if (file_.Ok() && decode) {
    try {
      decoded_ = TextFile::DecodeChunks(
          file_.bytes, INT_MAX - 1, [this, readShare](qint64 done, qint64 size) {
            progress_ = readShare + int(done * (1000 - readShare) / std::max<qint64>(size, 1));
            return !cancel_;
          });
      // The text is all that is needed from here on.
      file_.bytes = QByteArray();
    } catch (const std::bad_alloc &) {
      // Nothing half read is kept: the chunks decoded so far go with the exception.
      decoded_ = TDecodedChunks{};
      file_ = TFileBytes{};
      file_.error = QStringLiteral("There is not enough memory to read it");
    }
    if (cancel_ || decoded_.cancelled) {
      decoded_ = TDecodedChunks{};
      file_ = TFileBytes{};
      file_.cancelled = true;
    }
  }
  progress_ = 1000;
  finished_ = true;
}
