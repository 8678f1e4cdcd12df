// TEMPORARY STAND-IN: see start_dialogs_standin.h.
#include "ui/start_dialogs_standin.h"

void EditTextFileIfExists(const std::string&) {}

void OpenWorkTextFile(int) {}
void OpenHelpTopic(int) {}
void OpenModeHelpPage() {}
