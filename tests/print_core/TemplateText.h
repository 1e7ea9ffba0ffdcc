// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "print/core/TemplateFile.h"

// Template texts for the tests: the head of an A4 template (15 mm margins: 180 x 267 mm
// inside), and the error a damaged text is refused with.
namespace TemplateText {

inline QByteArray Head() { return "VellumixReport 1\npage size=A4\n"; }

inline QString ErrorOf(const QByteArray &bytes) {
  QString error;
  EXPECT_FALSE(TemplateFile::Parse(bytes, &error)) << bytes.left(200).constData();
  return error;
}

}  // namespace TemplateText
