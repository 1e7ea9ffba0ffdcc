#pragma once

// The program's windows name the classic Windows faces ("MS Sans Serif", "Arial", ...), whose
// sizes their fixed layouts were made for. Linux has none of them; left to fontconfig, "MS
// Sans Serif" becomes a much wider face and labels no longer fit. These substitutes have the
// same or narrower letter widths.
namespace Fonts {

// Registers the substitutes with Qt; idempotent. Call once a QGuiApplication exists.
void InstallSubstitutes();

}  // namespace Fonts
