// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>

#include "documents/core/WebAddresses.h"

using WebAddresses::TSpan;

namespace {
QStringList found(const QString &text, qsizetype from, qsizetype to) {
  QStringList addresses;
  for (const TSpan &span : WebAddresses::Overlapping(text, from, to))
    addresses.append(text.mid(span.start, span.length));
  return addresses;
}
}  // namespace

TEST(WebAddresses, FindsEachKindWithoutTheSentenceAroundIt) {
  const QString text = QStringLiteral(
      "See https://example.org/a?b=1, (www.Example.com) and FTP://host/x. "
      "Mail mailto:me@example.org! Not http:// nor wwwx.org; \"http://q.example/p\"");
  EXPECT_EQ(
      found(text, 0, text.size()),
      QStringList({QStringLiteral("https://example.org/a?b=1"), QStringLiteral("www.Example.com"),
                   QStringLiteral("FTP://host/x"), QStringLiteral("mailto:me@example.org"),
                   QStringLiteral("http://q.example/p")}));
}

TEST(WebAddresses, AQueryFindsOnlyTheAddressesItOverlaps) {
  const QString text = QStringLiteral("a http://one.example b http://two.example c");
  // The first address takes characters 2 to 19.
  EXPECT_EQ(found(text, 0, 2), QStringList());
  EXPECT_EQ(found(text, 2, 3), QStringList({QStringLiteral("http://one.example")}));
  EXPECT_EQ(found(text, 10, 30), QStringList({QStringLiteral("http://one.example"),
                                              QStringLiteral("http://two.example")}));
  // From == to: the address that holds that character.
  EXPECT_EQ(found(text, 19, 19), QStringList({QStringLiteral("http://one.example")}));
  EXPECT_EQ(found(text, 20, 20), QStringList());
  EXPECT_EQ(WebAddresses::At(text, 10), QStringLiteral("http://one.example"));
  EXPECT_EQ(WebAddresses::At(text, 20).toString(), QString());
  EXPECT_EQ(WebAddresses::At(text, 2), QStringLiteral("http://one.example"));
  EXPECT_EQ(WebAddresses::At(text, text.size()).toString(), QString());
  // A no-break space is no blank to the pattern: an address goes on across it, and a query on
  // its far side finds the address whole.
  const QString noBreak = QStringLiteral("go http://a.example\u00a0b now");
  EXPECT_EQ(WebAddresses::At(noBreak, 20), QStringLiteral("http://a.example\u00a0b"));
  EXPECT_EQ(WebAddresses::At(noBreak, 4), QStringLiteral("http://a.example\u00a0b"));
  // Out of range queries are clamped, not read past the text.
  EXPECT_EQ(found(text, -5, 1000).size(), 2);
  EXPECT_TRUE(found(QString(), 0, 0).isEmpty());
}

TEST(WebAddresses, AQueryInAHugeLineLooksOnlyNearby) {
  // A megabyte without a blank on either side of an address: found from inside it, and the
  // same address whole whichever of its characters is asked for.
  const QString filler(1 << 20, u'x');
  const QString address = QStringLiteral("http://deep.example/path");
  const QString text = filler + u' ' + address + u' ' + filler;
  const qsizetype at = filler.size() + 1;
  EXPECT_EQ(WebAddresses::At(text, at), address);
  EXPECT_EQ(WebAddresses::At(text, at + address.size() - 1), address);
  EXPECT_EQ(found(text, at - 3, at + 3), QStringList({address}));
  // An address glued to a long blank-free run starts within it: the search reaches back that
  // far, so it is found whole from its end.
  const QString glued = QString(100, u'y') + address;
  EXPECT_EQ(WebAddresses::At(glued, glued.size() - 1), address);
  // Beyond reach, an address that started long before the query is not looked for: the
  // stretch searched starts Reach characters back, inside the address, with no scheme.
  const QString longAddress =
      QStringLiteral("http://x.example/") + QString(WebAddresses::Reach + 10, u'p');
  EXPECT_EQ(WebAddresses::At(longAddress, longAddress.size() - 1).toString(), QString());
}
