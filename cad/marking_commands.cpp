#include "cad/marking_commands.h"

#include <cstring>

#include "cad/cad_services_standin.h"
#include "frame/data_slots.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "model/layer_files.h"
#include "cad/mouse_selection.h"
#include "cad/path_info_window.h"
#include "model/record_checks.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "ui/common_dialogs.h"
#include "commands/input_wait.h"
#include "view/character_cells.h"
#include "view/cursor_tracking.h"
#include "model/delete_selection.h"

namespace {

// Follows the graphic cursor until a mouse button is down (or the window
// is closing); the cursor point is then the press point.
void WaitForMouseButton() {
  ButtonResult = 0;
  for (;;) {
    PollGraphicCursor();
    if (MouseButtonState != 0 || ButtonResult != 0 || CloseRequested) return;
  }
}

void StartSelectionIfEmpty() {
  if (StoreHoldsData == 0) ClearVectorStore();
}

bool CurrentLayerEmpty() { return LayerRecordCounts[CurrentLayer] <= 0; }
bool SelectionEmpty() { return StoreHoldsData == 0; }

// Popup states: 1 normal, 3 greyed; 33 and 35 the same on the clipboard band.
uint8_t Greyed(bool grey) { return grey ? 3 : 1; }
uint8_t BandGreyed(bool grey) { return grey ? 35 : 33; }

}  // namespace

void UnmarkAll() {
  TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
  FlushVectorStoreToCurrentLayer();
}

void RunContourMarking(const std::string& file, int flags) {
  if (IsCtrlKeyUp()) {
    const int answer = AskStripToolRecords(GetCurrentLayerFileName());
    if (answer == 2 || answer == 3) {
      TakeUndoSnapshot(kUndoCurrentLayer | kUndoStore);
      WaitForMouseRelease();
    }
    if (answer != 1) SelectContoursWithMouse(file, flags);
  } else {
    StartSelectionIfEmpty();
    ClearKeyBuffer();
    WaitForMouseButton();
    PickContourFromAnyLayer(7);
  }
  WaitForMouseRelease();
}

void PickInAnyLayerCommand() {
  StartSelectionIfEmpty();
  ClearKeyBuffer();
  WaitForMouseButton();
  PickContourFromAnyLayer(7);
}

void ShowSelectionPathInfo() {
  if (EnsureSelectionInStore()) ShowPathInfoWindow();
}

void ScanSelectionGrouping(const std::string& file, uint8_t& state) {
  state = 2;
  if (TestFileExists(file) != 1) return;
  int slot = 0;
  OpenDataFileSlot(file, 1, slot, 0);
  if (slot == 0) return;
  if (DataFileSlotSize(slot) > 0) {
    state = 0;
    TRecordBuffer buffer;
    AllocRecordBuffer(1, buffer, 1);
    bool marked = false;
    while (!marked) {
      int32_t got = 0;
      ReadDataFileSlot(slot, buffer, kSlotBlockRecords, got);
      for (int32_t i = 0; i < got && !marked; ++i) {
        TVectorRecord r;
        std::memcpy(&r, buffer.bytes.data() + size_t(i) * sizeof r, sizeof r);
        marked = r.type == 10 && r.z <= -10000.0f;
      }
      if (got < kSlotBlockRecords) break;
    }
    AllocRecordBuffer(1, buffer, 0);
    if (marked) state = 1;
  }
  CloseDataFileSlot(slot);
}

void BuildMarkingMenu(TPopupList& list) {
  InitPopupList(list);
  list.x = MouseX;
  list.y = int16_t(MouseY - 32);
  list.title = GetMessageText(kMarkingMenuTitle, kPopupCaptionMax);
  list.result = 1;

  const bool layerEmpty = CurrentLayerEmpty();
  const bool selectionEmpty = SelectionEmpty();
  const bool allLayersEmpty = SumLayerRecordCounts() <= 0;
  const bool clipboardEmpty = CountFileRecords(kClipboardFileName) <= 0;
  uint8_t grouping = 2;
  ScanSelectionGrouping(kVectorStoreName, grouping);

  struct TEntry {
    int16_t message;  // 0: the fixed caption
    const char* key;
    uint8_t state;
  };
  const TEntry entries[kMarkingMenuEntries] = {
      {1557, "SUCHALLE", Greyed(layerEmpty)},
      {1556, "EntMarkAlle", Greyed(selectionEmpty)},
      {2238, "MarkPos", Greyed(layerEmpty)},
      {713, "EntMarkPos", Greyed(selectionEmpty)},
      {2328, "MarkInLayer", Greyed(allLayersEmpty)},
      {0, "BAHNDREH", Greyed(selectionEmpty)},
      {2731, "_Wegeinfo", Greyed(layerEmpty && selectionEmpty)},
      {3006, "Ausschneiden", BandGreyed(selectionEmpty)},
      {701, "Kopieren_W", BandGreyed(selectionEmpty)},
      {1355, "Einfuegen", BandGreyed(clipboardEmpty)},
      {4013, "LOESCHEN", BandGreyed(selectionEmpty)},
      {2239, "GRUPPIEREN", Greyed(grouping != 0)},
      {2240, "GRUPPIERAUFHEB", Greyed(grouping != 1)},
  };
  for (int i = 0; i < kMarkingMenuEntries; ++i) {
    const TEntry& e = entries[i];
    list.captions[i] = e.message != 0 ? GetMessageText(e.message, kPopupCaptionMax) : "drehe Bahn(en)";
    list.names[i] = e.key;
    list.states[i] = e.state;
  }
}

bool RunMarkingMenuEntry(int entry) {
  switch (entry) {
    case 1: MarkWholeCurrentLayer(); break;
    case 2: UnmarkAll(); break;
    case 3:
      RunContourMarking(GetCurrentLayerFileName(), 1);
      EnterMarkMode();
      return true;
    case 4: UnmarkContoursWithMouse(); break;
    case 5: PickInAnyLayerCommand(); break;
    case 6: ReverseMarkedContours(); break;
    case 7: ShowSelectionPathInfo(); break;
    case 8: CutStoreToClipboardFile(); break;
    case 9: CopyStoreToClipboardFile(); break;
    case 10: PasteClipboardFileIntoStore(); break;
    case 11: DeleteSelection(); break;
    case 12:
      if (!SelectionEmpty()) RecodeContourStarts(kVectorStoreName, 1);
      break;
    case 13:
      if (!SelectionEmpty()) RecodeContourStarts(kVectorStoreName, 0);
      break;
    default: return false;
  }
  EnterMarkMode();
  return false;
}

bool RunMarkingMenu() {
  TPopupList list;
  BuildMarkingMenu(list);
  ShowPopupMenu(list);
  return RunMarkingMenuEntry(list.result);
}
