// Hooks through which the forms and tool lists reach the layer list and the
// tool sketch.
#include "ui/ui_hooks.h"

#include "ui/panels.h"

bool (*ChooseLayerHook)(int16_t&) = [](int16_t&) { return false; };
void (*DrawToolProfileHook)(int, int, int, int, const TToolRecord&) = [](int x1, int y1, int x2, int y2,
                                                                          const TToolRecord&) {
  DrawWhiteField(x1, y1, x2, y2, 0);
};
