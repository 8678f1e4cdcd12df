// Connects the model's hooks (model/model_hooks.h) to the screen and the
// dialogs; the start sequence calls it, and tests that watch what the model
// shows call it too.
#pragma once

void InstallModelHooks();
