// The model's hooks connected as at program start (InstallModelHooks) for
// every test of a program that includes this header: tests that watch the
// prompt line, the questions or the drawing of model functions need them.
#pragma once

#include <gtest/gtest.h>

#include "app/model_hooks_setup.h"

class TModelHooksEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { InstallModelHooks(); }
};

inline ::testing::Environment* const ModelHooksEnvironment =
    ::testing::AddGlobalTestEnvironment(new TModelHooksEnvironment);
