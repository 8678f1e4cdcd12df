#include "cad/freehand.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "cad/construction_frame.h"
#include "model/geometry_2d.h"
#include "frame/defaults.h"
#include "frame/file_helpers.h"
#include "frame/main_window.h"
#include "frame/messages.h"
#include "frame/window_draw.h"
#include "cad/arc_fitting.h"
#include "model/vector_records.h"
#include "model/vector_store.h"
#include "platform/files.h"
#include "ui/prompt_strip.h"
#include "view/cursor_tracking.h"
#include "view/view_transform.h"

namespace {

constexpr int16_t kMsgFreehandPrompt = 490;
constexpr size_t kFreehandPromptShown = 19;
constexpr int kMinCatchPixels = 8;
constexpr int32_t kFitMode = 135;  // polygon points, no feed records
constexpr double kFitLimit = 10000.0;
constexpr const char* kFittedName = "VekAR2.TMP";

bool ButtonHeld() { return GetMouseButtonState() != 0; }

// The pen moves in copy mode from a to b in the colour.
void DrawPiece(const TVectorRecord& a, const TVectorRecord& b, int16_t colour) {
  EraseMouseCursor();
  SetDrawColorAndMode(kCopyMode, colour);
  MoveToWorldPoint(a.x, a.y);
  LineToWorldPoint(b.x, b.y);
}

}  // namespace

void RecordFreehandPath(const std::string& file, int16_t colour, int options, bool& closed) {
  closed = false;
  std::vector<TVectorRecord> path;
  TVectorRecord previous{0, -9999.999f, -9999.999f, 0.0f};
  TVectorRecord start{};
  ShowInputPrompt(GetMessageText(kMsgFreehandPrompt, -39).substr(0, kFreehandPromptShown));
  // Until a button goes down (a close request or Esc ends without a path).
  // The click that chose the command is used up; the path begins with the
  // next press.
  MouseButtonState = 0;
  ButtonResult = 0;
  do {
    PollGraphicCursor();
  } while (!ButtonHeld() && !CloseRequested && ButtonResult == 0 && CursorKeyCode != 27);
  if (ButtonHeld() || ButtonResult == 2) {
    PollGraphicCursor();  // the position is read before the button message: take where it went down
    TVectorRecord p{kRecContourStart, CursorPoint.x, CursorPoint.y, 0.0f};
    path.push_back(p);
    previous = p;
    start = p;
    start.type = 0;  // armed once the cursor has left the start's zone
    const double zone = std::max<int>(Construction.catchRadius, kMinCatchPixels) / std::max(ViewScaleX, 1e-6f);
    while (ButtonHeld() && !CloseRequested) {
      PollGraphicCursor();
      const double d = std::hypot(double(CursorPoint.x) - start.x, double(CursorPoint.y) - start.y);
      bool closing = false;
      if (d < zone) {
        if (start.type == kRecContourStart) {
          CursorPoint.x = start.x;
          CursorPoint.y = start.y;
          closing = true;
        }
      } else {
        start.type = kRecContourStart;
      }
      TVectorRecord q{kRecLinePoint, CursorPoint.x, CursorPoint.y, 0.0f};
      if (!TestPointsCoincide(q, previous)) {
        path.push_back(q);
        if ((options & kFreehandDrawWhileRecording) != 0 && colour != PaperColor) DrawPiece(previous, q, colour);
        previous = q;
      }
      if (closing) {
        closed = true;
        break;
      }
    }
  }
  TVectorArray array;
  array.records = path.data();
  array.count = int32_t(path.size());
  array.capacity = array.count;
  WriteVectorBufferToFile(file, array);
  EraseMouseCursor();
  DrawVectorFile(file, kCopyMode, colour, 0);
  if ((options & kFreehandFitArcs) != 0 && path.size() > 1) {
    const double tolerance = 2.0 / std::max(ViewScaleX, 1e-6f);
    FitArcsInVectorFile(file, kFittedName, kFitMode, 2.0 * 3.14159265358979323846, tolerance, kFitLimit);
    if (ErrorCode == 0 && TestFileExists(kFittedName)) RenameFileReplacing(kFittedName, file);
  }
}

void DrawFreehandIntoLayer() {
  TConstructionState& s = Construction;
  bool closed = false;
  RecordFreehandPath(kVectorStoreName, s.layerColour, kFreehandDrawWhileRecording | kFreehandFitArcs, closed);
  s.startIndex = CountTargetRecords();
  TVectorArray recorded;
  LoadVectorFileToBuffer(kVectorStoreName, recorded);
  if (recorded.count > 1) {
    TVectorRecord last{0, s.lastPoint.x, s.lastPoint.y, 0.0f};
    for (int32_t i = 0; i < recorded.count; ++i) {
      const TVectorRecord& r = recorded.records[i];
      if (r.type == kRecContourStart) {
        // The new contour's start is the one later points may close on.
        s.contourStart = TPointRecord{0, 0.0f, 0.0f};
        WriteConstructionPointZ(r.type, r.x, r.y, r.z);
        s.contourStart = TPointRecord{kRecContourStart, r.x, r.y};
      } else if (r.type == kRecLinePoint || r.type == kRec3DPoint) {
        WriteConstructionPointZ(r.type, r.x, r.y, r.z);
        DrawPiece(last, r, s.layerColour);
      } else {
        continue;
      }
      last = r;
      s.lastPoint = TPointRecord{r.type, r.x, r.y};
    }
  }
  FreeVectorBuffer(recorded);
  // The recording file is the vector store's: it holds no selection now.
  ClearVectorStore();
  // The last point written flashes the contour already when it closed it.
  if (closed && !s.closed) FlashClosedContour();
}
