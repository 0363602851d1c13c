// The effect tests run without the program shell: a steady 50 frames a second on an 800 x 600
// display.
#include "engine/frame.h"

#include <gtest/gtest.h>

namespace {

class FxFrame : public ::testing::Environment {
  public:
    void SetUp() override {
        DeltaMs = 20.0f;
        DeltaSec = 0.02f;
        InstFps = 50;
        LowFpsMode = LOW_FPS_NORMAL;
    }
};

const auto* const kFxFrame = ::testing::AddGlobalTestEnvironment(new FxFrame);

} // namespace
