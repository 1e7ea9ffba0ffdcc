// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert/core/ConverterProtocol.h"

namespace ConverterProtocol {

QByteArray Chunks(QByteArrayView bytes) {
  QByteArray out;
  for (qsizetype at = 0; at < bytes.size(); at += MaxChunk) {
    const QByteArrayView part = bytes.sliced(at, qMin(MaxChunk, bytes.size() - at));
    out += "DATA " + QByteArray::number(part.size()) + '\n';
    out += part;
  }
  return out;
}

QByteArray End() { return QByteArrayLiteral("END\n"); }
QByteArray Done() { return QByteArrayLiteral("DONE\n"); }

QByteArray Error(const QString &reason) {
  QByteArray text = reason.simplified().toUtf8().left(MaxErrorText);
  return "ERROR " + text + '\n';
}

}  // namespace ConverterProtocol

TChunkReader::TState TChunkReader::fail(const QString &error) {
  error_ = error.isEmpty() ? QStringLiteral("the converter failed without saying why") : error;
  return state_ = TState::Failed;
}

TChunkReader::TState TChunkReader::Feed(QByteArrayView bytes, QByteArray &out) {
  qsizetype at = 0;
  while (at < bytes.size()) {
    if (state_ != TState::More)
      return fail(QStringLiteral("the converter sent more after its end"));
    if (pending_ > 0) {
      const qsizetype take = qMin(pending_, bytes.size() - at);
      out.append(bytes.data() + at, take);
      pending_ -= take;
      at += take;
      continue;
    }
    const qsizetype newline = bytes.indexOf('\n', at);
    const qsizetype end = newline < 0 ? bytes.size() : newline;
    line_.append(bytes.data() + at, end - at);
    at = newline < 0 ? bytes.size() : newline + 1;
    if (line_.size() > ConverterProtocol::MaxErrorText + 16)
      return fail(QStringLiteral("the converter sent a line that is too long"));
    if (newline < 0) break;
    const QByteArray line = std::exchange(line_, QByteArray());
    if (line.startsWith("DATA ")) {
      bool ok = false;
      const qsizetype n = line.mid(5).toLongLong(&ok);
      if (!ok || n < 1 || n > ConverterProtocol::MaxChunk || line.mid(5) != QByteArray::number(n))
        return fail(QStringLiteral("the converter sent a chunk of a wrong size"));
      if (n > maxTotal_ - total_)
        return fail(
            QStringLiteral("the converted document is larger than %1 bytes").arg(maxTotal_));
      total_ += n;
      pending_ = n;
    } else if (line == "END") {
      state_ = TState::Ended;
    } else if (line == "DONE") {
      state_ = TState::Done;
    } else if (line.startsWith("ERROR")) {
      return fail(QString::fromUtf8(line.mid(6)).trimmed());
    } else {
      return fail(QStringLiteral("the converter sent data that is not understood"));
    }
  }
  return state_;
}
