// TEMPORARY STAND-IN: see font_services_standin.h.
#include "text/font_services_standin.h"

#include "frame/not_yet_available.h"
#include "frame/program_state.h"

void FreeLoadedFont() {}
void ForgetLoadedFont() {}
void ReinitFontCache() {}
void ResetGlyphEditorView() {}

void RunFontEditorLoop() {
  ShowNotYetAvailable();
  CommandWord = 9900;
}
