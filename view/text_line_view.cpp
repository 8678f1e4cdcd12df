// The text lines of the text job in the view.
#include "view/text_line_view.h"

#include "frame/window_draw.h"
#include "model/layer_files.h"
#include "model/text_job.h"
#include "view/view_transform.h"

void DrawTextLinesOfVisibleLayers() {
  VisitTextLines([](uint8_t* line) {
    if (IsTextLineEmptyOrInvalid(line)) return false;  // the first invalid line ends the job
    const uint16_t layer = TextLineLayer(line);
    double corners[4][2];
    if (layer > kMaxLayerNumber || !LayerVisible[layer] || !ComputeTextLineBox(line, corners)) return true;
    SetDrawColorAndMode(plat::kRopCopy, MapLayerToColorIndex(layer));
    MoveToWorldPoint(float(corners[3][0]), float(corners[3][1]));
    for (const auto& c : corners) LineToWorldPoint(float(c[0]), float(c[1]));
    return true;
  });
}
