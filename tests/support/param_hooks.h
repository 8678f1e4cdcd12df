// The parameter file's hook connected as at program start: FillParamDefaults
// writes the NC settings defaults for every test of a program that includes
// this header.
#pragma once

#include <gtest/gtest.h>

#include "frame/param_file.h"
#include "machine/nc_settings.h"

class TParamHooksEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { WriteNcSettingsDefaultsHook = WriteNcSettingsDefaults; }
};

inline ::testing::Environment* const ParamHooksEnvironment =
    ::testing::AddGlobalTestEnvironment(new TParamHooksEnvironment);
