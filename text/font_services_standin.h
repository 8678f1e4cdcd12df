// TEMPORARY STAND-IN for the vector fonts, to be replaced when the font
// subsystem is built. No font is loaded yet, so there is nothing to reset or free.
#pragma once

void FreeLoadedFont();
void ForgetLoadedFont();
void ReinitFontCache();
void ResetGlyphEditorView();

// The font editor's own command loop. Until it is built it is left at once
// with its leave code 9900 in the command word.
void RunFontEditorLoop();
