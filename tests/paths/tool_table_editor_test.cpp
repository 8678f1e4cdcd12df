// The tool table editor and the dialogs over it: edits kept on OK and not
// stored on Esc, the checks on the last field, paging, the selection dialog's
// index, the input form's chooser, and the tools of a vector file rewritten
// in place.
#include "paths/tool_table_editor.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "../ui/paced_script.h"
#include "../ui/ui_screen.h"
#include "dialog_test_support.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "app/program_start.h"
#include "frame/system_services.h"
#include "model/layer_files.h"
#include "paths/tool_table.h"
#include "ui/input_form.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

class ToolEditorTest : public pathstest::DialogScreenTest {
 protected:
  void Script(const std::string& script) { NewScript(*screen_, script); }
  std::string Transcript() const { return screen_->ReadFile("transcript.txt"); }
};

TToolRecord SampleTool(const char* name, int16_t colour) {
  TToolRecord t;
  SetToolRecordDefaults(t, colour);
  SetToolNameText(t, name);
  t.plungeDepth = 1.0f;
  t.tipRadius = 0.5f;
  t.shankRadius = 3.0f;
  t.angle = 30.0f;
  t.spindleSpeed = 18000.0f;
  t.changeStation = 4;
  return t;
}

void WriteSampleTable() {
  for (int i = 0; i < 10; ++i) WriteToolRecord(SampleTool("Fraeser", int16_t(i + 1)), i);
}

TEST_F(ToolEditorTest, OkStoresTheEditedTableAndTheChosenPlace) {
  WriteSampleTable();
  const auto before = TScreen::Pixels();
  // Bit 7: the editing starts at the plunge depth; PgDn moves to the next
  // tool keeping the field.
  Script("text 2.5\nkey Enter\ntext 0.75\nkey PgDn\ntext 3\nkey F1\n");
  int16_t index = 5;
  RunToolSelectionDialog(index, 199, kToolGroupStartAtPlunge);
  EXPECT_EQ(index, 6);
  TToolRecord t5, t6;
  ReadToolRecord(t5, 5);
  ReadToolRecord(t6, 6);
  EXPECT_FLOAT_EQ(t5.plungeDepth, 2.5f);
  EXPECT_FLOAT_EQ(t5.clearanceHeight, 0.75f);
  EXPECT_FLOAT_EQ(t6.clearanceHeight, 3.0f);
  EXPECT_FLOAT_EQ(t6.plungeDepth, 1.0f) << "only the typed fields change";
  EXPECT_EQ(ToolNameText(t6), "Fraeser");
  EXPECT_EQ(TScreen::Pixels(), before) << "the screen under the editor comes back";
}

TEST_F(ToolEditorTest, EscKeepsTheTableAndTheStartPlace) {
  WriteSampleTable();
  std::vector<uint8_t> table(kToolTableBytes), after(kToolTableBytes);
  GetParamBlock(kToolTableBlock, table.data(), uint16_t(kToolTableBytes));
  Script("text 2.5\nkey Enter\nkey PgDn\ntext 9\nkey Esc\n");
  int16_t index = 5;
  RunToolSelectionDialog(index, 199, kToolGroupStartAtPlunge);
  EXPECT_EQ(index, 5);
  GetParamBlock(kToolTableBlock, after.data(), uint16_t(kToolTableBytes));
  EXPECT_EQ(after, table);
}

TEST_F(ToolEditorTest, LimitsAndTheChecksOnTheLastField) {
  TToolRecord tools[kToolCount];
  for (int i = 0; i < kToolCount; ++i) SetToolRecordDefaults(tools[i], 0);
  tools[0] = SampleTool("Stichel", 3);
  tools[0].changeStation = 0;  // fails the station check
  // Field 9 (name), Down to the tip radius: 5 is above the shank radius 3
  // and asked again; then down to the change station, where Enter stays
  // until the station is set, and goes on to the next tool's name.
  Script("key Down\nkey Down\ntext 5\nkey Enter\ntext 1.5\nkey Enter\n"
         "key Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey Down\nkey Down\n"
         "key Enter\ntext 7\nkey Enter\ntext Neu\nkey F1\n");
  int16_t index = 0;
  ASSERT_TRUE(ShowToolListDialog("Werkzeuge", tools, index, 1, 0));
  EXPECT_FLOAT_EQ(tools[0].tipRadius, 1.5f);
  EXPECT_EQ(tools[0].changeStation, 7);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(ToolNameText(tools[1]), "Neu");
  EXPECT_EQ(tools[1].colorNumber, 0);
}

// The page buttons, clicked: a table of start places and where they lead.
TEST_F(ToolEditorTest, PagingTheList) {
  struct TCase {
    int16_t start;
    bool down;
    int16_t expected;
  };
  const TCase cases[] = {{7, false, 5}, {5, false, 0}, {3, false, 0}, {0, false, 0},
                         {3, true, 5},  {12, true, 15}, {17, true, 19}};
  const int x = DrawingArea.x1 + 8 * 82 + 52 + 20;
  const int row = (DrawingArea.y1 + 16) / 16;
  for (const TCase& c : cases) {
    TToolRecord tools[kToolCount];
    for (int i = 0; i < kToolCount; ++i) SetToolRecordDefaults(tools[i], 0);
    const int y = (row + (c.down ? 6 : 3)) * 16 + 8;
    Script("click " + std::to_string(x) + " " + std::to_string(y) + "\nkey F1\n");
    int16_t index = c.start;
    ASSERT_TRUE(ShowToolListDialog("Werkzeuge", tools, index, 19, 0));
    EXPECT_EQ(index, c.expected) << "from " << c.start << (c.down ? " down" : " up");
  }
}

// A middle click on the XY feed line opens the copy popup for that value;
// its fourth entry copies it to a typed list of places.
TEST_F(ToolEditorTest, CopyingAValueToAListOfPlaces) {
  TToolRecord tools[kToolCount];
  for (int i = 0; i < kToolCount; ++i) SetToolRecordDefaults(tools[i], 0);
  tools[3].feedXY = 9.0f;
  const int baseRow = (DrawingArea.y1 + 16) / 16;
  const int x = 100, y = (baseRow + 18) * 16 + 8;
  // The popup opens at the click; entry 4 lies below its title strip and
  // three 21-pixel entries.
  const int entryX = x + 20, entryY = y + 4 + 24 + 3 * 21 + 10;
  Script("click " + std::to_string(x) + " " + std::to_string(y) + " middle\nclick " + std::to_string(entryX) + " " +
         std::to_string(entryY) + "\ntext 1,3,7-11\nkey F1\nkey F1\n");
  int16_t index = 3;
  ASSERT_TRUE(ShowToolListDialog("Werkzeuge", tools, index, 12, 0));
  for (int i = 0; i <= 12; ++i) {
    const bool listed = i == 1 || i == 3 || (i >= 7 && i <= 11);
    EXPECT_FLOAT_EQ(tools[i].feedXY, listed ? 9.0f : 2.0f) << "place " << i;
  }
}

TEST_F(ToolEditorTest, TheInputFormChooserTakesTheChosenPlace) {
  WriteSampleTable();
  ASSERT_EQ(ToolChooserHook, &SelectToolForInputForm) << "registered when the program starts";
  ToolChooserNumber = 3;
  Script("key PgDn\nkey PgDn\nkey F1\n");
  ToolChooserHook();
  EXPECT_EQ(ToolChooserNumber, 5);
  ToolChooserNumber = 3;
  Script("key PgDn\nkey Esc\n");
  ToolChooserHook();
  EXPECT_EQ(ToolChooserNumber, 3);
}

TEST_F(ToolEditorTest, SingleToolIsChangedOnlyWhenConfirmed) {
  TToolRecord tool = SampleTool("Kugel", 9);
  Script("text 2\nkey Esc\n");
  EXPECT_FALSE(EditSingleToolRecord(tool));
  EXPECT_EQ(ToolNameText(tool), "Kugel");
  Script("key End\ntext 2\nkey F1\n");
  EXPECT_TRUE(EditSingleToolRecord(tool));
  EXPECT_EQ(ToolNameText(tool), "Kugel2");
  EXPECT_EQ(tool.colorNumber, 9);
}

TEST(ToolEditorGroup, ByVariant) {
  const uint8_t expected[10] = {2, 2, 0, 0, 2, 2, 2, 0, 0, 0};
  const auto saved = VariantNumber;
  for (int v = 0; v < 10; ++v) {
    VariantNumber = decltype(VariantNumber)(v);
    EXPECT_EQ(GetToolEditorGroup(), expected[v]) << "variant " << v;
  }
  VariantNumber = saved;
}

TEST(ToolCopies, AFieldOrTheWholeToolKeepingTheColour) {
  TToolRecord source = SampleTool("Quelle", 5), target = SampleTool("Ziel", 12);
  source.feedXY = 7.5f;
  source.extra[2] = 0.4f;
  CopyToolField(source, target, 16);
  EXPECT_FLOAT_EQ(target.feedXY, 7.5f);
  EXPECT_EQ(ToolNameText(target), "Ziel");
  CopyToolField(source, target, 22);
  EXPECT_FLOAT_EQ(target.extra[2], 0.4f);
  CopyToolField(source, target, 9);
  EXPECT_EQ(ToolNameText(target), "Quelle");
  source.plungeDepth = 6.0f;
  CopyToolField(source, target, 0);
  EXPECT_FLOAT_EQ(target.plungeDepth, 6.0f);
  EXPECT_EQ(target.colorNumber, 12);
}

TEST(ToolListLine, ColumnsOfTheList) {
  TToolRecord t = SampleTool("Ein sehr langer Werkzeugname", 1);
  t.tipRadius = 12.5f;
  const std::string line = FormatToolListLine(7, t);
  EXPECT_EQ(line.substr(0, 9), "  7      ");
  EXPECT_EQ(line.substr(9, 15), "Ein sehr langer");
  EXPECT_EQ(line.substr(24, 5), " 12.5");
  t.tipRadius = 250.0f;
  EXPECT_EQ(FormatToolListLine(7, t).substr(24, 5), " 99.9");
  EXPECT_EQ(line.substr(line.size() - 14), "   18    0   4") << "speed in thousands, life, station";
}

// --- tools stored in a vector file ---------------------------------------------------------

void PutPiece(TVectorRecord& r, const std::string& text) {
  uint8_t* b = reinterpret_cast<uint8_t*>(&r);
  const std::string padded = text + std::string(12, ' ');
  b[1] = 11;
  for (int i = 0; i < 10; ++i) b[2 + i] = uint8_t(padded[size_t(i)]);
  b[12] = 0;
}

// A tool block as the path blocks write it.
void AppendTool(std::vector<TVectorRecord>& v, const std::string& name, float plunge, float station) {
  TVectorRecord r[8] = {};
  for (int k = 0; k < 8; ++k) r[k].type = uint8_t(150 + k);
  r[0].x = 2.0f; r[0].y = 0.25f; r[0].z = 15.0f;
  r[1].x = 0.0f;
  SetRecordZInt(r[1], int32_t(ToolColourToRgb(4)));
  PutPiece(r[2], name.substr(0, std::min<size_t>(name.size(), 10)));
  PutPiece(r[3], name.size() > 10 ? name.substr(10) : "");
  r[5].x = 3.0f; r[5].y = 0.0f; r[5].z = 1.5f;
  r[6].x = 4.0f; r[6].y = plunge; r[6].z = 2.0f;
  r[7].x = 12000.0f; r[7].y = 0.0f; r[7].z = station;
  v.insert(v.end(), r, r + 8);
}

std::vector<TVectorRecord> ReadRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  std::vector<TVectorRecord> v(bytes.size() / sizeof(TVectorRecord));
  if (!v.empty()) std::memcpy(v.data(), bytes.data(), v.size() * sizeof(TVectorRecord));
  return v;
}

void WriteRecords(const std::string& path, const std::vector<TVectorRecord>& v) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size() * sizeof(TVectorRecord)));
}

TEST_F(ToolEditorTest, ToolsOfAVectorFileAreRewrittenInPlace) {
  std::vector<TVectorRecord> v;
  v.push_back(TVectorRecord{1, 0.0f, 0.0f, 20.0f});
  v.push_back(TVectorRecord{5, -1.0f, -1.0f, 0.0f});
  AppendTool(v, "Schaft", 1.0f, 3.0f);  // records 2-9
  for (int i = 0; i < 5; ++i) v.push_back(TVectorRecord{uint8_t(i == 0 ? 11 : 10), float(i), float(i * i), 0.5f});
  AppendTool(v, "Zweiter", 0.5f, 8.0f);  // records 15-22
  v.push_back(TVectorRecord{10, 9.0f, 9.0f, 0.0f});
  v.push_back(TVectorRecord{9, 0.0f, 0.0f, 0.0f});
  const std::string path = (screen_->Dir() / "Werkz.tmp").string();
  WriteRecords(path, v);
  const std::string bytesBefore = screen_->ReadFile("Werkz.tmp");

  // Down five times from the name to the plunge depth of the first tool.
  Script("key Down\nkey Down\nkey Down\nkey Down\nkey Down\ntext 4.25\nkey F1\n");
  EditToolsInVectorFile("Werkz.tmp");
  const std::vector<TVectorRecord> after = ReadRecords(path);
  ASSERT_EQ(screen_->ReadFile("Werkz.tmp").size(), bytesBefore.size());
  ASSERT_EQ(after.size(), v.size());
  for (size_t i = 0; i < v.size(); ++i) {
    if (i == 8) continue;
    EXPECT_EQ(std::memcmp(&after[i], &v[i], sizeof(TVectorRecord)), 0) << "record " << i;
  }
  EXPECT_EQ(after[8].type, 156);
  EXPECT_FLOAT_EQ(after[8].x, 4.0f);
  EXPECT_FLOAT_EQ(after[8].y, 4.25f);
  EXPECT_FLOAT_EQ(after[8].z, 2.0f);

  // Esc writes nothing.
  Script("key Down\nkey Down\nkey Down\nkey Down\nkey Down\ntext 9\nkey Esc\n");
  const std::string bytesEdited = screen_->ReadFile("Werkz.tmp");
  EditToolsInVectorFile("Werkz.tmp");
  EXPECT_EQ(screen_->ReadFile("Werkz.tmp"), bytesEdited);
}

TEST_F(ToolEditorTest, AVectorFileWithoutToolsShowsMessage42) {
  std::vector<TVectorRecord> v = {TVectorRecord{11, 0, 0, 0}, TVectorRecord{10, 1, 1, 0}};
  const std::string path = (screen_->Dir() / "Leer.tmp").string();
  WriteRecords(path, v);
  const std::string before = screen_->ReadFile("Leer.tmp");
  Script("key Enter\n");
  EditToolsInVectorFile("Leer.tmp");
  EXPECT_NE(Transcript().find(MessageNumberText(42)), std::string::npos) << Transcript();
  EXPECT_EQ(screen_->ReadFile("Leer.tmp"), before);
}

}  // namespace

namespace {

// The editor on small and usual screens, with and without the layer bar
// and rulers left of the graphic area: the frame and every button lie in
// the client area, the paging buttons right of the list line.
TEST(ToolEditorLayout, FrameAndButtonsLieInsideTheClientArea) {
  struct TCase {
    const char* size;
    int16_t areaLeft, areaTop;
  };
  const TCase cases[] = {
      {"1024x768", 0, 51}, {"1024x768", 35, 65}, {"800x600", 0, 51},
      {"800x600", 35, 65}, {"768x596", 35, 65},  {"768x596", 0, 51},
  };
  for (const TCase& c : cases) {
    uitest::TScreen screen("", c.size);
    DrawingArea = TLayoutRect{1, c.areaLeft, c.areaTop, int16_t(MaxX - 169), MaxY};
    for (const bool passGroup : {false, true}) {
      for (const bool table : {false, true}) {
        TToolEditorLayout layout;
        LayOutToolTableEditor(passGroup, table, layout);
        const TPopupFrame& f = layout.frame;
        SCOPED_TRACE(std::string(c.size) + " left " + std::to_string(c.areaLeft) + (passGroup ? " passes" : "") +
                     (table ? " table" : ""));
        EXPECT_GE(int(f.left), 0);
        EXPECT_GE(int(f.top), 0);
        EXPECT_LE(int(f.right), MaxX);
        EXPECT_LE(int(f.bottom), MaxY);
        int shown = 0;
        for (const TBox& b : layout.buttons) {
          if (b.flag == 0) continue;
          ++shown;
          EXPECT_GE(int(b.x1), int(f.left));
          EXPECT_LE(int(b.x2), int(f.right));
          EXPECT_GE(int(b.y1), int(f.top));
          EXPECT_LE(int(b.y2), int(f.bottom));
        }
        EXPECT_EQ(shown, table ? kToolEditorButtons : kToolEditorButtons - 3);
        // Nothing of the list line (79 cells from column 1) runs under the paging buttons.
        EXPECT_GT(int(layout.buttons[kToolButtonPrevious].x1), int(f.left) + 8 * 80);
      }
    }
  }
}

}  // namespace
