// The parameter file's hook connected as at program start: FillParamDefaults
// writes the NC settings defaults for every test of a program that includes
// this header.
#pragma once

#include <gtest/gtest.h>

#include "app/hook_setup.h"

class TParamHooksEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InstallFrameHooks(); }
};

inline ::testing::Environment* const ParamHooksEnvironment =
    ::testing::AddGlobalTestEnvironment(new TParamHooksEnvironment);
