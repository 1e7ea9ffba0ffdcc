// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <atomic>
#include <thread>

#include "documents/core/FileStamp.h"
#include "platform/core/TextFile.h"

// Reads a file, and decodes it when it is plain text, on a thread of its own, so that the
// window waiting for it keeps answering and can stop it. Only regular files are read (see
// TextFile::ReadRegularFile). The result belongs to the caller once Finished() is true.
class TTextLoader {
 public:
  // decode: false for rich text, whose bytes are read but not decoded. threaded: false does
  // the work in the constructor (for small files, where a thread would only cost time).
  TTextLoader(const QString &path, qint64 maxBytes, bool decode, bool threaded = true);
  // Stops the work and waits for the thread.
  ~TTextLoader();
  TTextLoader(const TTextLoader &) = delete;
  TTextLoader &operator=(const TTextLoader &) = delete;

  // Asks the thread to stop; Finished() follows soon after, with Cancelled() true.
  void Cancel() { cancel_ = true; }
  bool Finished() const { return finished_; }
  // How much of the file is read and decoded, from 0 to 1000.
  int Progress() const { return progress_; }

  // Once Finished(): the bytes read (or why not), and the decoded text of a plain-text file,
  // in chunks that the caller lets go as it moves them into a document.
  bool Cancelled() const { return file_.cancelled; }
  const QString &Error() const { return file_.error; }
  QByteArray &Bytes() { return file_.bytes; }
  TDecodedChunks &Decoded() { return decoded_; }
  // The file as it was read, to notice later changes by other programs.
  const TFileStamp &Stamp() const { return stamp_; }

 private:
  void run(const QString &path, qint64 maxBytes, bool decode);

  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> progress_{0};
  TFileBytes file_;
  TDecodedChunks decoded_;
  TFileStamp stamp_;
  std::thread thread_;
};
