// Connects the hooks of the lower layers to the screen, the dialogs and the
// commands above them: the parameter file's (frame/param_file.h), the
// model's (model/model_hooks.h), the view's (view/view_hooks.h), the input
// wait's (commands/command_hooks.h) and the drawing transforms'
// (cad/drawing_transforms.h). The start sequence calls these, and tests that
// watch what the lower layers do call them too.
#pragma once

// Before the parameter file is first read: its defaults include the NC block.
void InstallFrameHooks();
void InstallModelHooks();
void InstallViewHooks();
void InstallCommandHooks();
void InstallCadHooks();
