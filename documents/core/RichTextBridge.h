// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "documents/store/TextModel.h"

class QTextDocument;

// Formatted text between Qt's text document (what the rich-text reader fills, the writer reads
// and the clipboard's formats become) and the program's text model.
namespace RichTextBridge {

// Puts a formatted document's text in place of the cursor's selection, each character in its
// format and each line break in the format of the line after it, as one change; the cursor
// ends after it.
void Insert(TTextCursor &cursor, const QTextDocument &source);

// A text document holding the model's text, each character in its format.
std::unique_ptr<QTextDocument> ToDocument(const TTextModel &model);

// Gives a text document that is only filled and read (never shown) a layout that lays
// nothing out: Qt's own would lay out every paragraph a cursor writes to, which makes
// building a large document take minutes.
void LeaveUnlaid(QTextDocument &document);

}  // namespace RichTextBridge
