// The font files of the text subsystem.
#include "text/font_files.h"

#include "frame/messages.h"
#include "frame/system_services.h"

void CheckFontFilesPresent() {
  plat::TSearchRec rec;
  int found = FindFirstEntry("*.HZE", plat::kAttrArchive, rec);
  FindCloseEntry(rec);
  if (found != 0) ShowMessageNumber(289);
}
