// TEMPORARY STAND-IN for the main command dispatcher, to be replaced when it
// is built: it knows the quit question and the screen rebuild only.
#pragma once

#include <cstdint>

void DispatchMainCommand(int32_t variantCode);
