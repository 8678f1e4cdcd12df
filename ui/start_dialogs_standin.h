// TEMPORARY STAND-IN for the dialog toolkit pieces the program frame calls,
// to be replaced when the dialog toolkit is built.
#pragma once

#include <cstdint>
#include <string>

// Sets the window caption to the program title (the version and job texts
// come with the info window).
void UpdateWindowTitle(int32_t versionThousandths);
// The version text of the program.
std::string GetVersionText();
void ResetDrawingArea();
void RestoreGraphicArea();
void DrawPanelBackground();
void ClearDrawingArea();
// The question with three buttons: the captions of the messages of the
// buttons in a Yes/No/Cancel box. Returns 1, 2 or 3 (cancel).
int AskWithPictureButtons(const std::string& title, const std::string& text, int16_t message1,
                          int16_t message2, int16_t message3);
// Opens the text file in the editor when it exists (no editor yet).
void EditTextFileIfExists(const std::string& name);
