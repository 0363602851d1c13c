// The shell state the board reads, defined here because the board tests run without the shell.
float DeltaMs = 16.0f;
float DeltaSec = 0.016f;
int MouseXPos = 0, MouseYPos = 0, MouseMoved = 0;
int MouseLeftPressed = 0, MouseLeftReleased = 0;
int ScreenWidth = 800, ScreenHeight = 600;
int GameState = 1;
// The effects the board requests read these.
int InstFps = 60, LowFpsMode = 0;
int ScreenCentreX = 400, ScreenCentreY = 300;
