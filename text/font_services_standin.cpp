// TEMPORARY STAND-IN: see font_services_standin.h.
#include "text/font_services_standin.h"

void FreeLoadedFont() {}
void ForgetLoadedFont() {}
void ReinitFontCache() {}
void ResetGlyphEditorView() {}

#include "app/program_start.h"

void RunFontEditorLoop() { CommandWord = 9900; }
