// TEMPORARY STAND-IN for the dialog toolkit pieces the program frame calls,
// to be replaced when the dialog toolkit is built.
#pragma once

#include <cstdint>
#include <string>

// The title, version and question pieces are built for real now; callers of
// this file find them here until they include their own headers.
#include "ui/common_dialogs.h"
#include "ui/info_window.h"

void ResetDrawingArea();
void RestoreGraphicArea();
void DrawPanelBackground();
void ClearDrawingArea();
// Opens the text file in the editor when it exists (no editor yet).
void EditTextFileIfExists(const std::string& name);
// Mark mode after a command: the command word becomes 41 (marking); the view
// button is not drawn yet.
void EnterMarkMode();
// The file open / save dialog: fileName holds the suggestion and receives the
// chosen name; the stand-in has no dialog and returns an empty name (cancelled).
void RunFileDialog(const std::string& startPath, const std::string& extension, int dataKind, std::string& fileName,
                   int mode);
