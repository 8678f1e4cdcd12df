// Aligning the selection to a reference contour (command 703): the middle
// of the selection's extent moves onto the middle of the extent of a picked
// contour, in x and y, in x only or in y only. The reference contour stays
// in its layer.
#pragma once

#include <cstdint>

constexpr int kAlignSelectionCommand = 703;
constexpr const char* kAlignScratchName = "VekAR2.TMP";

struct TPopupList;
// The popup of the axes (title message 1304, item 1 preselected) and its run:
// 1 "X + Y", 2 "X", 3 "Y"; 0 cancelled.
void FillAlignAxesList(TPopupList& list);
int AskAlignAxes();
// The offsets kept by an axes choice: 1 both, 2 x only, 3 y only, else none.
void KeepAlignOffsets(int choice, double& dx, double& dy);

// Command 703: asks a point (message 1168); the contour nearest to it in the
// current layer, or with Ctrl in any layer, is the reference.
void AlignSelectionToContour();
