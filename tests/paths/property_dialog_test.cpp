// The machining property dialog: tool, layer and value fields within their
// limits, OK and Esc, the current tool that cannot be changed, and the
// screen given back.
#include "paths/property_dialog.h"

#include <memory>
#include <vector>

#include "../ui/paced_script.h"
#include "../ui/ui_screen.h"
#include "dialog_test_support.h"
#include "frame/data_slots.h"
#include "frame/param_file.h"
#include "model/layer_files.h"
#include "paths/tool_table.h"

namespace {

using uitest::NewScript;
using uitest::TScreen;

class PropertyDialogTest : public pathstest::DialogScreenTest {
 protected:
  void SetUp() override {
    pathstest::DialogScreenTest::SetUp();
    CurrentLayer = 2;
    fields_[0] = TPropertyField{"Durchmesser", 6.0f, 10.0f, 0.0f};
    fields_[1] = TPropertyField{"Steigung", 2.0f, 5.0f, 1.0f};
    fields_[2] = TPropertyField{"Nicht benutzt", 1.0f, 9.0f, 0.0f};
  }
  uint8_t Run(const std::string& script, int16_t& tool, int16_t& layer, uint8_t count) {
    NewScript(*screen_, script);
    uint8_t result = 0;
    RunPropertyDialog("Bohrung", "BohrungBild", 192, 63, tool, layer, fields_, count, result);
    return result;
  }
  std::string Transcript() const { return screen_->ReadFile("transcript.txt"); }
  TPropertyField fields_[kPropertyFieldsMax];
};

TEST_F(PropertyDialogTest, ToolLayerAndValuesWithinTheirLimits) {
  const auto before = TScreen::Pixels();
  int16_t tool = 5, layer = 1;
  // PgUp raises the tool by one; the layer is asked next; 12 lies above the
  // first field's limit and is asked again; the second field is typed; F1.
  const uint8_t result =
      Run("key PgUp\nkey Enter\ntext 7\nkey Enter\ntext 2\nkey Enter\ntext 12\nkey Enter\ntext 7.5\nkey Enter\n"
          "text 3\nkey Enter\nkey Enter\nkey F1\n",
          tool, layer, 2);
  EXPECT_EQ(result, kPropertyConfirmed);
  EXPECT_EQ(tool, 6);
  EXPECT_EQ(layer, 2) << "7 lies above the highest layer 3 and is asked again";
  EXPECT_FLOAT_EQ(fields_[0].value, 7.5f);
  EXPECT_FLOAT_EQ(fields_[1].value, 3.0f);
  EXPECT_FLOAT_EQ(fields_[2].value, 1.0f) << "only the first count fields are asked";
  EXPECT_EQ(TScreen::Pixels(), before);
}

TEST_F(PropertyDialogTest, EscCancelsKeepingEarlierEditsAndTheFieldsOldValue) {
  int16_t tool = 5, layer = 1;
  // PgDn lowers the tool; Up on the tool field stays there.
  const uint8_t result =
      Run("key PgDn\nkey Up\nkey Enter\nkey Enter\ntext 4\nkey Enter\ntext 20\nkey Esc\n", tool, layer, 2);
  EXPECT_EQ(result, kPropertyCancelled);
  EXPECT_EQ(tool, 4);
  EXPECT_FLOAT_EQ(fields_[0].value, 4.0f) << "a value left with Enter stays changed";
  EXPECT_FLOAT_EQ(fields_[1].value, 2.0f) << "Esc leaves the field with its old value";
}

TEST_F(PropertyDialogTest, WithoutValueFieldsOnlyToolAndLayer) {
  int16_t tool = 0, layer = 0;
  const uint8_t result = Run("key PgDn\nkey Enter\nkey PgUp\nkey Enter\nkey PgUp\nkey F1\n", tool, layer, 0);
  EXPECT_EQ(result, kPropertyConfirmed);
  EXPECT_EQ(tool, 0) << "not below 0";
  EXPECT_EQ(layer, 2) << "Enter on the layer stays there when no value field follows";
}

TEST_F(PropertyDialogTest, TheCurrentToolCannotBeChanged) {
  WriteToolRecord([] {
    TToolRecord t;
    SetToolRecordDefaults(t, 2);
    return t;
  }(), 2);
  TPropertyDialog placed;
  LayOutPropertyDialog(placed);
  const int x = placed.frame.right - 60, y = placed.frame.top + 150;
  int16_t tool = -1, layer = 1;
  // The value field is active first; a click on the tool panel opens the
  // selection, another tool is chosen there and refused with a message.
  const uint8_t result = Run("text 3\nclick " + std::to_string(x) + " " + std::to_string(y) +
                                 "\nkey PgDn\nkey F1\nkey Enter\nkey Up\nkey F1\n",
                             tool, layer, 1);
  EXPECT_EQ(result, kPropertyConfirmed);
  EXPECT_EQ(tool, 2) << "the current tool is the current layer's";
  EXPECT_EQ(layer, 1) << "no layer is asked";
  EXPECT_FLOAT_EQ(fields_[0].value, 3.0f);
  EXPECT_NE(Transcript().find(GetMessageText(3387, -39) + "!"), std::string::npos) << Transcript();
}

TEST_F(PropertyDialogTest, OkAndCancelButtonsAndTheRightButton) {
  TPropertyDialog placed;
  LayOutPropertyDialog(placed);
  const int y = placed.frame.top + 15;
  const int okX = placed.frame.right - 128 - 44 + 11, cancelX = placed.frame.right - 128 - 22 + 11;
  struct TCase {
    std::string script;
    uint8_t expected;
  };
  const std::vector<TCase> cases = {
      {"click " + std::to_string(okX) + " " + std::to_string(y) + "\n", kPropertyConfirmed},
      {"click " + std::to_string(cancelX) + " " + std::to_string(y) + "\n", kPropertyCancelled},
      {"click 100 100 right\n", kPropertyCancelled},
  };
  for (const TCase& c : cases) {
    int16_t tool = 5, layer = 1;
    EXPECT_EQ(Run(c.script, tool, layer, 1), c.expected) << c.script;
    EXPECT_EQ(tool, 5);
  }
}

}  // namespace
