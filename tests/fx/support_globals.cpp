// The shell state the effects read, defined here because the effect tests run without the shell.
float DeltaMs = 20.0f;
float DeltaSec = 0.02f;
int InstFps = 50;
int LowFpsMode = 0;
int ScreenWidth = 800, ScreenHeight = 600, ScreenCentreX = 400, ScreenCentreY = 300;
