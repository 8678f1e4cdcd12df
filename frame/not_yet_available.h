// The answer of a command whose subsystem is not built yet: one message box
// "Diese Funktion ist noch nicht verfügbar" (message 4110) with the command's
// menu text as its title. The stand-ins that serve command entries call it;
// the main dispatcher calls it for a code without an entry. It changes
// nothing: the box gives back the screen under it.
#pragma once

#include <cstdint>
#include <string>

constexpr int16_t kNotYetAvailableMessage = 4110;

// The menu text of a command code for the box title (set by app/ at start;
// null: the box has no title).
extern std::string (*CommandTitleHook)(uint16_t code);

// Shows the box for the code in CommandWord.
void ShowNotYetAvailable();
// Shows the box for the given code.
void ShowNotYetAvailable(uint16_t code);
