// SPDX-License-Identifier: GPL-3.0-or-later
#include "mail/core/FieldCheck.h"

#include "mail/core/MimeText.h"

namespace FieldCheck {

QString LineBreak(const QString &field, QStringView value) {
  if (!value.contains(u'\r') && !value.contains(u'\n') && !value.contains(QChar(0x2028)) &&
      !value.contains(QChar(0x2029)))
    return {};
  return QStringLiteral("The ") + field +
         QStringLiteral(
             " field holds a line break, which a message header cannot carry. "
             "Please keep it on one line.");
}

QString OneAddress(const QString &field, QStringView entry) {
  const QString text = entry.trimmed().toString();
  const QString address = MimeText::EnvelopeAddress(text).trimmed();
  const QString example = QStringLiteral(
      " Please enter one address, such as name@example.com or "
      "Name <name@example.com>.");
  if (address.isEmpty())
    return QStringLiteral("The ") + field + QStringLiteral(" field holds no address.") + example;
  bool fits = false;
  const qsizetype open = text.indexOf(u'<');
  if (open < 0) {
    fits = text == address;
  } else {
    const qsizetype close = text.indexOf(u'>', open);
    fits = close == text.size() - 1 && text.indexOf(u'<', open + 1) < 0 &&
           text.first(open).indexOf(u'>') < 0;
  }
  for (QChar c : address) {
    if (c.isSpace() || c == u',' || c == u';' || c == u':' || c == u'<' || c == u'>' || c == u'"')
      fits = false;
  }
  if (fits) return {};
  return QStringLiteral("The ") + field + QStringLiteral(" field \"") + text +
         QStringLiteral("\" would send the message to \"") + address + QStringLiteral("\" only.") +
         example;
}

}  // namespace FieldCheck
