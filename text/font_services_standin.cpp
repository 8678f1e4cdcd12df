// TEMPORARY STAND-IN: see font_services_standin.h.
#include "text/font_services_standin.h"

void FreeLoadedFont() {}
void ForgetLoadedFont() {}
void ReinitFontCache() {}
void ResetGlyphEditorView() {}

#include "frame/program_state.h"

void RunFontEditorLoop() { CommandWord = 9900; }
