// Shared set-up of the path dialog tests: the headless screen, a parameter
// image with the defaults, the data file slots and four layers.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "../ui/ui_screen.h"
#include "frame/data_slots.h"
#include "frame/defaults.h"
#include "frame/param_file.h"
#include "model/layer_files.h"

namespace pathstest {

class DialogScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = std::make_unique<uitest::TScreen>();
    ParamImage = new TParameterImage;
    FillParamDefaults();
    InitDataFileSlots();
    HighestLayer = 3;
    CurrentLayer = 0;
    ErrorCode = 0;
  }
  void TearDown() override {
    CloseOpenDataFileSlots();
    delete ParamImage;
    ParamImage = nullptr;
    screen_.reset();
  }
  std::unique_ptr<uitest::TScreen> screen_;
};

}  // namespace pathstest
