// Hooks through which the forms and tool lists of ui/ reach the subsystems
// that own what they show: the layer list and the tool sketch. Until those
// are built nothing sets these, and the defaults keep the forms working.
#pragma once

#include <cstdint>

struct TToolRecord;

// The layer list in its choosing mode: true with the chosen layer in layer.
// Default: no list yet, false (cancelled) with the layer unchanged.
extern bool (*ChooseLayerHook)(int16_t& layer);
// A tool as a profile sketch in a white framed box. Default: no sketch yet,
// the box alone.
extern void (*DrawToolProfileHook)(int x1, int y1, int x2, int y2, const TToolRecord& tool);
