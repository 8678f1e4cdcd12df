// Shared set-up of the vector store, undo and record check tests: the
// drawing folder with four empty layers, a view of 2 pixels per millimetre
// (a 20-pixel pick is 10 mm), an empty store and empty undo slots.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frame/messages.h"
#include "frame/param_file.h"
#include "model/undo.h"
#include "model/vector_store.h"
#include "platform/script.h"
#include "support/drawing_test_support.h"
#include "view/view_transform.h"

namespace storetest {

using drawtest::Rec;
using TRecs = std::vector<TVectorRecord>;

// A closed square contour with its lower left corner at (x, y).
inline TRecs Square(float x, float y, float side) {
  return {Rec(kRecContourStart, x, y), Rec(kRecLinePoint, x + side, y), Rec(kRecLinePoint, x + side, y + side),
          Rec(kRecLinePoint, x, y + side), Rec(kRecLinePoint, x, y)};
}

inline TRecs Join(std::initializer_list<TRecs> parts) {
  TRecs all;
  for (const TRecs& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

inline bool SameRecords(const TRecs& a, const TRecs& b) {
  return a.size() == b.size() && (a.empty() || memcmp(a.data(), b.data(), a.size() * sizeof(TVectorRecord)) == 0);
}

class StoreTest : public drawtest::DrawingFolderTest {
 protected:
  void SetUp() override {
    drawtest::DrawingFolderTest::SetUp();
    std::error_code ec;
    std::filesystem::copy_file(std::filesystem::path(TORV_BINARY_DIR) / "TORV.TX0",
                               std::filesystem::path(work_->Path()) / "TORV.TX0", ec);
    setenv("TORV_HOME", work_->Path().c_str(), 1);
    OpenMessageFile();
    plat::ResetScript();
    ViewScaleX = ViewScaleY = 2.0f;
    InitUndoSlots();
    for (int i = 0; i < kUndoSlotCount; ++i) ClearUndoSlot(UndoSlots[i]);
    ClearVectorStore();
    StoreParked = false;
    CheckToolRecords = 0;
    Check3DPoints = 0;
  }
  void TearDown() override {
    for (int i = 0; i < kUndoSlotCount; ++i) ClearUndoSlot(UndoSlots[i]);
    StoreHoldsData = 0;
    StoreParked = false;
    MouseButtonState = 0;
    plat::ResetScript();
    CloseMessageFile();
    unsetenv("TORV_HOME");
    drawtest::DrawingFolderTest::TearDown();
  }
  void Put(const std::string& name, const TRecs& records) const { WriteFile(name, drawtest::Bytes(records)); }
  TRecs Get(const std::string& name) const { return drawtest::Records(ReadFile(name)); }
  std::string Layer(int n) const { return BuildLayerFileName(n); }
  // Answers for the message boxes still to come, one script line each.
  void Answer(const std::string& lines) const {
    std::ofstream(work_->Path() + "/script.txt", std::ios::binary) << lines;
    plat::ResetScript();
  }
  std::string Transcript() const {
    std::ifstream in(work_->Path() + "/transcript.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool TranscriptShows(int32_t message) const {
    const std::string text = plat::Utf8FromDos(MessageNumberText(message));
    return !text.empty() && Transcript().find("|" + text + "|") != std::string::npos;
  }
};

}  // namespace storetest
