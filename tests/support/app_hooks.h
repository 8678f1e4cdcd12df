// The hooks of the lower layers connected as at program start (InstallModelHooks,
// InstallViewHooks, InstallCommandHooks, InstallCadHooks) for every test of a
// program that includes this header: tests that watch the prompt line, the
// questions, the drawing or the handles reached through hooks need them.
#pragma once

#include <gtest/gtest.h>

#include "app/hook_setup.h"

class TModelHooksEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InstallModelHooks();
    InstallViewHooks();
    InstallCommandHooks();
    InstallCadHooks();
  }
};

inline ::testing::Environment* const ModelHooksEnvironment =
    ::testing::AddGlobalTestEnvironment(new TModelHooksEnvironment);
