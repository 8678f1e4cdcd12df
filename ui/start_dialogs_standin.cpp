// TEMPORARY STAND-IN: see start_dialogs_standin.h.
#include "ui/start_dialogs_standin.h"

#include "frame/not_yet_available.h"

void EditTextFileIfExists(const std::string&) {}

void OpenWorkTextFile(int) { ShowNotYetAvailable(); }
void OpenHelpTopic(int) { ShowNotYetAvailable(); }
void OpenModeHelpPage() { ShowNotYetAvailable(); }
