// The commands and questions around the drawing files (format and writing
// in model/drawing_file.h, loading in model/drawing_load.h).
#pragma once

#include <string>

// Save (mode 0) or save as (mode 1); asks for a name through the file dialog
// when needed. True when a file was written; only then does an asked name
// become the drawing name, its folder the drawing folder and an entry of the
// recent list.
bool SaveDrawing(int mode);
// Saves the drawing under the name (step after the name is known): the
// store is flushed and the file written; a written drawing counts as saved. mode 0 shows the short note on the prompt line.
bool SaveDrawingToFile(const std::string& name, int mode);
// Exports the source as ".SLD" (mode 1 vectors only, 2 with parameters,
// tools and frame), asking for the target name.
void ExportSldDrawing(const std::string& source, int mode);
// True when there is unsaved work and the user wants it saved. A drawing
// unchanged since its last save or open is not asked about, here and in
// the two questions below.
bool AskSaveUnsavedWork();
// The drawing offered for saving before work is thrown away: asks messages
// 605 and 40; Yes runs save as.
void OfferSaveDrawing();
// For the command-line open: true only when the user wanted to save and
// then cancelled the save (the open must not go on).
bool AskSaveBeforeOpen();
// Edits the four note lines of the text job head in a popup; OK writes the
// head to "HS01.TMP", Abort puts the old head back.
void EditDrawingNote();
// The popup of the recent drawings (command 3012); opens the one chosen.
void RunRecentDrawingsCommand();

// --- open ----------------------------------------------------------------------------------
// Mode 0 opens (replaces), 1 appends the named file (the step after the
// file dialog of OpenDrawingWithDialog). True when the file was loaded
// whole; a missing or empty file is reported with its name.
bool OpenDrawingFile(const std::string& name, int mode);
void OpenDrawingWithDialog(int mode);
void RunOpenDrawingCommand();
