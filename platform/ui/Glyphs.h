// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>

// Indexes of the shared glyph list: 82 images of 16 x 16 pixels cut from one stored strip.
enum TGlyph {
  gNew,
  gOpen,
  gSave,
  gSaveAs,
  gPrint,
  gPrintPreview,
  gPrinterSetup,
  gExit,
  gClose,
  gEmail,
  gUndo,
  gRedo,
  gCut,
  gCopy,
  gPaste,
  gPasteSpecial,
  gDelete,
  gSelectAll,
  gDateTime,
  gSpell,
  gWordCount,
  gAlignLeft,
  gAlignRight,
  gAlignCenter,
  gWordWrap,
  gLower,
  gUpper,
  gCapitalize,
  gTitleCase,
  gToggleCase,
  gSpecialChars,
  gFind,
  gFindNext,
  gReplace,
  gTile,
  gCascade,
  gArrangeIcons,
  gPreferences,
  gHelpContents,
  gSearchHelp,
  gUseHelp,
  gWhatsNew,
  gTechSupport,
  gDownload,
  gAbout,
  gImport,
  gReopen,
  gFavorites,
  gCustomizeToolBar,
  gCustomizePrint,
  gProperties,
  gAddressBook,
  gAttach,
  gSend,
  gFlagBritish,
  gFlagDutch,
  gFlagAmerican,
  gFlagFrench,
  gFlagGerman,
  gFlagItalian,
  gLegal,
  gMedical,
  gFlagSpanish,
  gRestore,
  gStayOnTop,
  gBackups,
  gStatusBar,
  gButtonHints,
  gTip,
  gWinStart,
  gSetDefault,
  gAdd,
  gRemove,
  gOK,
  gCancel,
  gHelp,
  gSkip,
  gReplaceWord,
  gAddWord,
  gInformation,
  gWarning,
  gFolder,
  gGlyphCount,
  gNone = -1
};
static_assert(gGlyphCount == 82);

// The list of glyphs shared by the tool bars and menus.
class TGlyphList {
 public:
  // Cuts a strip of 20 columns by 6 rows of 16 x 16 cells: the first 82 cells, row by row,
  // become the images; magenta (255, 0, 255) is transparent.
  explicit TGlyphList(const QImage &strip);
  // The list from the strip built into the program.
  static const TGlyphList &Shared();

  int Count() const { return int(icons_.size()); }
  QIcon Icon(int index) const;
  QPixmap Pixmap(int index) const;

 private:
  QList<QPixmap> pixmaps_;
  QList<QIcon> icons_;
};
