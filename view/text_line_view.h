// The text lines of the text job in the view.
#pragma once

// Every valid text line of "HS01.TMP" whose layer is visible, in its layer's
// colour; the first invalid line ends the job there. No glyphs yet: each
// line shows as the outline of its box (ComputeTextLineBox).
void DrawTextLinesOfVisibleLayers();
