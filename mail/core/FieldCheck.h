// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Checks of what the user typed into a message's header fields, made before anything goes to
// a server. Each returns the message to show, or an empty text when the value is fine.
namespace FieldCheck {

// A header field cannot hold a line break: one would start a header line of the user's
// making ("Bcc: ...") or end the header early. field names it in the message ("To:").
QString LineBreak(const QString &field, QStringView value);

// The field must hold one address, as a bare address or "Name <address>", so that the
// message goes to what the field shows. Text that would send it elsewhere ("x: other@y",
// "a@x, b@y" where only one of them would be used) is refused, naming where it would go.
QString OneAddress(const QString &field, QStringView entry);

}  // namespace FieldCheck
