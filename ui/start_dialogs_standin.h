// TEMPORARY STAND-IN for the text editor and help viewer the program calls,
// to be replaced when they are built. Callers: app/program_start.cpp,
// app/dispatcher.cpp, commands/start_panel.cpp, commands/input_wait.cpp and
// paths/tool_table_editor.cpp.
#pragma once

#include <string>

// Opens the text file in the editor when it exists (no editor yet).
void EditTextFileIfExists(const std::string& name);

// Help and work text commands of the main dispatcher; no help viewer or text
// editor exists yet, so each says it is not yet available.
void OpenWorkTextFile(int mode);
void OpenHelpTopic(int code);
void OpenModeHelpPage();
