// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QBuffer>

#include "TestEnvironment.h"
#include "mail/core/MailErrors.h"
#include "mail/core/NMUUProcessor.h"

namespace {

// Hands out its bytes a few at a time, and fails once failAt bytes have been read.
class TTrickleDevice : public QIODevice {
 public:
  TTrickleDevice(QByteArray data, qint64 chunk, qint64 failAt = -1)
      : data_(std::move(data)), chunk_(chunk), failAt_(failAt) {
    open(QIODevice::ReadOnly);
  }
  bool isSequential() const override { return true; }
  bool atEnd() const override { return position_ >= data_.size() && QIODevice::atEnd(); }

 protected:
  qint64 readData(char *out, qint64 max) override {
    if (failAt_ >= 0 && position_ >= failAt_) {
      setErrorString(QStringLiteral("disk gone"));
      return -1;
    }
    const qint64 n = std::min({max, chunk_, data_.size() - position_});
    memcpy(out, data_.constData() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
  }
  qint64 writeData(const char *, qint64) override { return -1; }

 private:
  QByteArray data_;
  qint64 chunk_;
  qint64 failAt_;
  qint64 position_ = 0;
};

QByteArray EncodeDevice(QIODevice &input, UUMethods method) {
  QBuffer output;
  output.open(QIODevice::ReadWrite);
  TNMUUProcessor encoder;
  encoder.Method = method;
  encoder.InputStream = &input;
  encoder.OutputStream = &output;
  encoder.Encode();
  EXPECT_EQ(output.pos(), 0) << "output left rewound";
  return output.data();
}

QByteArray Encode(const QByteArray &bytes, UUMethods method) {
  QByteArray copy = bytes;
  QBuffer input(&copy);
  input.open(QIODevice::ReadOnly);
  input.seek(input.size());  // the encoder reads from the start wherever the stream stands
  return EncodeDevice(input, method);
}

}  // namespace

TEST(NMUUProcessor, Base64LinesPaddingAndRoundTrip) {
  EXPECT_EQ(Encode({}, uuMime), QByteArray());
  EXPECT_EQ(Encode(QByteArray(45, 'a'), uuMime).size(), 62);
  EXPECT_EQ(Encode(QByteArray(45, 'a') + "b", uuMime).mid(62), "Yg==\r\n");
  EXPECT_EQ(Encode(QByteArray(45, 'a') + "bc", uuMime).mid(62), "YmM=\r\n");

  for (qsizetype size : {1, 2, 3, 44, 89, 90, 91, 45 * 1024 + 1, 45 * 2048, 200001}) {
    const QByteArray data = TestEnvironment::RandomBytes(size);
    const QByteArray encoded = Encode(data, uuMime);
    const QList<QByteArray> lines = encoded.split('\n');
    ASSERT_TRUE(lines.last().isEmpty()) << size;
    for (qsizetype i = 0; i + 2 < lines.size(); ++i) ASSERT_EQ(lines[i].size(), 61) << size;
    EXPECT_EQ(QByteArray::fromBase64(QByteArray(encoded).replace("\r\n", "")), data) << size;
  }
}

TEST(NMUUProcessor, UuencodeForm) {
  EXPECT_EQ(Encode({}, uuCode), "`\r\n");
  // The classic example: "Cat" is "#0V%T".
  EXPECT_EQ(Encode("Cat", uuCode), "#0V%T\r\n`\r\n");
  // Zero values are backquotes, never blanks.
  EXPECT_EQ(Encode(QByteArray(3, '\0'), uuCode), "#````\r\n`\r\n");

  const QByteArray thirteen = Encode("Hello, World!", uuCode);
  const QList<QByteArray> lines = thirteen.split('\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0].front(), '-');
  EXPECT_EQ(lines[0].size(), 1 + 18 + 1);  // length character, 18 characters, CR
  EXPECT_EQ(lines[1], "`\r");

  const QByteArray full = Encode(QByteArray(46, 'x'), uuCode);
  EXPECT_TRUE(full.startsWith('M'));
  EXPECT_EQ(full.indexOf("\r\n"), 61);
  EXPECT_EQ(full.mid(63, 1), "!");  // one byte left over
}

TEST(NMUUProcessor, ShortReadsStillGiveFullLines) {
  const QByteArray data = TestEnvironment::RandomBytes(10000);
  TTrickleDevice trickle(data, 7);
  const QByteArray encoded = EncodeDevice(trickle, uuMime);
  EXPECT_EQ(encoded, Encode(data, uuMime));
}

TEST(NMUUProcessor, EventsAndReadErrors) {
  QStringList events;
  QBuffer output;
  output.open(QIODevice::ReadWrite);
  TTrickleDevice failing(TestEnvironment::RandomBytes(100000), 45 * 1024, 45 * 1024);
  TNMUUProcessor encoder;
  encoder.InputStream = &failing;
  encoder.OutputStream = &output;
  encoder.OnBeginEncode = [&] { events << QStringLiteral("begin"); };
  encoder.OnEndEncode = [&] { events << QStringLiteral("end"); };
  try {
    encoder.Encode();
    ADD_FAILURE() << "a read error must not pass silently";
  } catch (const EMailError &error) {
    EXPECT_TRUE(error.Message().contains(QStringLiteral("disk gone")));
  }
  EXPECT_EQ(events, QStringList({QStringLiteral("begin"), QStringLiteral("end")}));
  EXPECT_EQ(output.pos(), 0);
  EXPECT_EQ(output.size(), 1024 * 62) << "the lines before the error stay written";
}
