// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mail/ui/MailContext.h"
#include "platform/ui/Glyphs.h"

// The mail windows' pictures from the shared glyph list.
inline TMailIcons MailIconsFromGlyphs() {
  const TGlyphList &g = TGlyphList::Shared();
  return {g.Icon(gNew),   g.Icon(gAttach),      g.Icon(gAdd), g.Icon(gRemove), g.Icon(gSend),
          g.Icon(gClose), g.Icon(gAddressBook), g.Icon(gOK),  g.Icon(gDelete)};
}
