// The board tests run without the program shell: they play its part through the shell contract,
// recording the screens the clock asks for. Like the real shell, the dialogs freeze the game and
// a state change takes effect at once.
#include "board_fixture.h"

#include "engine/frame.h"
#include "engine/shell.h"

#include <gtest/gtest.h>

Shell_Log ShellLog;

namespace {

void RecordState(int state) {
    ShellLog.states.push_back(state);
    GameState = state;
}

void RecordWarning() {
    ++ShellLog.warnings;
    GameState = STATE_PAUSED;
}

void RecordTimeUp() {
    ++ShellLog.time_ups;
    GameState = STATE_PAUSED;
}

class BoardShell : public ::testing::Environment {
  public:
    void SetUp() override {
        Shell.SetGameState = RecordState;
        Shell.OpenTimeWarningDialog = RecordWarning;
        Shell.OpenTimeUpDialog = RecordTimeUp;
        GameState = STATE_PLAYING;
        DeltaMs = 16.0f;
        DeltaSec = 0.016f;
        InstFps = 60;
    }
};

const auto* const kBoardShell = ::testing::AddGlobalTestEnvironment(new BoardShell);

} // namespace
