// The transform dialog: moves, rotates, scales by percent, resizes or
// shears the selection (the vector store) numerically about one of the
// nine reference points of its extent, optionally leaving an untransformed
// copy in the current layer. The values of the last use remain for the next.
//
// Records change by their meaning: moves, rotations and scales go through
// MapRecordAxes / RotateRecordAbout (arcs keep their shape, headers, tool
// blocks and layer records stay); a shear moves the position records only
// (an arc's radius and angles are kept, a sheared arc has no exact form).
#pragma once

#include <cstdint>

#include "cad/selection_handles.h"
#include "model/vector_records.h"

constexpr uint8_t kTransformMove = 1;
constexpr uint8_t kTransformRotate = 2;
constexpr uint8_t kTransformPercent = 3;
constexpr uint8_t kTransformSize = 4;
constexpr uint8_t kTransformShear = 5;
constexpr uint8_t kToggleRelative = 1;
constexpr uint8_t kToggleAbsolute = 2;
constexpr uint8_t kResultDuplicate = 1;
constexpr uint8_t kResultApply = 2;
constexpr int kTransformCommand = 643;

struct TTransformDialogState {
  float value1 = 0;  // dx / target x, angle, x percent, width, horizontal shear
  float value2 = 0;  // dy / target y, centre x, y percent, height, vertical shear
  float value3 = 0;  // centre y (rotation)
  uint8_t mode = kTransformMove;
  uint8_t toggle = kToggleAbsolute;
  uint8_t reference = 5;
  uint8_t result = kResultDuplicate;
};

extern TTransformDialogState TransformDialogState;

// Values 0, 0, 0, mode 1, absolute, reference 5, result duplicate.
void ResetTransformDialogState();

// Keep-ratio: the other row after one row changed from oldValue to
// newValue. A zero old value gives no ratio: the other row stays.
float KeepRatioOtherValue(float oldValue, float newValue, float other);
// Factor of a size: target / length, 0 when the length is 0.0001 or less.
double SizeFactor(double target, double length);

// Rewrites the store for modes 2-5 (paintOver: the old picture painted in
// the background colour first).
void ApplyTransformToStore(uint8_t mode, const TExtentsPair& extent, bool paintOver, double tx, double ty,
                           double angle, double fx, double fy, double cx, double cy);
// Applies the state to the store (duplicate: an untransformed copy goes
// into the current layer first) and gives the store's new extent. The
// converted values of absolute moves and relative rotations stay in the
// state.
void ApplyTransformState(TTransformDialogState& state, TExtentsPair& extent);

// The panel at the right edge of the graphic window: its 27 hit boxes (box
// n is boxes[n - 1]): 1 cancel, 2-6 the modes, 7-9, 10-12, 13-15 minus,
// value field and plus of rows 1-3, 16 the toggle, 17-25 the reference
// points 1-9, 26 duplicate (live only when offered), 27 apply. Rows that a
// mode does not show are not live; in mode 3 the minus buttons are not live
// and the plus places carry the mirror buttons.
constexpr int kTransformPanelBoxes = 27;
struct TTransformPanelLayout {
  int left = 0, top = 0, right = 0, bottom = 0;
  int textColumn = 0;   // column of the labels (pixel 8 x column)
  int fieldColumn = 0;  // column of the value fields
  int titleLine = 0;    // 16-pixel line of the mode title; the rows stand 1, 3 and 5 lines below
  TBox boxes[kTransformPanelBoxes];
};
// The boxes of the panel for a mode (rows shown by the mode).
void LayOutTransformPanel(TTransformPanelLayout& layout, uint8_t mode, bool offerDuplicate);

// The dialog on the state; true when the user applied or duplicated.
bool RunTransformDialog(const TExtentsPair& extent, TTransformDialogState& state, bool offerDuplicate);
// The dialog and, on success, the transform; the extent becomes the store's.
void RunTransformCommand(THandleSet& handles, TExtentsPair& extent, bool offerDuplicate);
// Command 643.
void TransformSelectionCommand();
// The handles of the store in a loop of their own: Tab or Space opens the
// dialog (no duplicates), a left click goes to the handles (moves without
// undo snapshots), a right click or Esc ends the loop.
void RunSelectionHandleLoop();
