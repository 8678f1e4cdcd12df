// Connects the hooks of the lower layers to the screen, the dialogs and the
// commands above them: the model's (model/model_hooks.h), the view's
// (view/view_hooks.h), the input wait's (commands/command_hooks.h) and the
// drawing transforms' (cad/drawing_transforms.h). The start sequence calls these, and tests that watch
// what the lower layers show call them too.
#pragma once

void InstallModelHooks();
void InstallViewHooks();
void InstallCommandHooks();
void InstallCadHooks();
