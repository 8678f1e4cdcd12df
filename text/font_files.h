// The font files of the text subsystem.
#pragma once

// Shows message 289 when no "*.HZE" font file exists.
void CheckFontFilesPresent();
