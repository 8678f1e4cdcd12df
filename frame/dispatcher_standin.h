// TEMPORARY STAND-IN for the main command dispatcher, to be replaced when it
// is built: it knows the quit question, the screen rebuild and the info
// window.
#pragma once

#include <cstdint>

void DispatchMainCommand(int32_t variantCode);
