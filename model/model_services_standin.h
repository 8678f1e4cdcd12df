// TEMPORARY STAND-IN for the parts of the data model not built yet:
// projects, the layer content report, the smoothing of stepped contours and
// the machine record field of the record viewer. The commands return at
// once, saying they are not yet available, and change nothing.
#pragma once

void AskSaveAndClearProject();
void OpenProjectFile();
void SaveProjectFile();
void RunLayerReport(int mode);
void SmoothContourSteps();
// True when the 16-bit value at byte 1582 of parameter block 14 is 0.
bool IsMachineRecordFieldClear();
