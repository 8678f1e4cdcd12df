#include "frame/not_yet_available.h"

#include "frame/messages.h"
#include "frame/program_state.h"
#include "frame/system_services.h"

std::string (*CommandTitleHook)(uint16_t code) = nullptr;

void ShowNotYetAvailable() { ShowNotYetAvailable(uint16_t(CommandWord)); }

void ShowNotYetAvailable(uint16_t code) {
  const std::string title = CommandTitleHook != nullptr ? CommandTitleHook(code) : std::string();
  RunMessageBox(title, GetMessageText(kNotYetAvailableMessage, -kMessageTextMax), 48);
}
