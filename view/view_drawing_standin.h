// TEMPORARY STAND-IN, to be replaced by the view transform module (drawing of
// vector records in world coordinates). It holds only what the file helpers
// and the layer files call; the drawing calls draw nothing until the view
// module exists.
#pragma once

#include <cstdint>

struct TVectorRecord;

// Colour index of the drawing background (274 = black paper).
extern int16_t PaperColor;

// Stand-in: draws nothing.
void DrawVectorRecord(const TVectorRecord& record);
// Stand-in: there is no dash buffer to flush.
void FlushDashedContour();
// Drawing colour of layer n (remainder of n by 27, sign of n kept).
int16_t MapLayerToColorIndex(int32_t n);
