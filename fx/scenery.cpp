#include "fx/scenery.h"

Scenery_Pictures SceneryPics;

std::vector<Bckg_Obj> BckgLayers;
std::vector<Star_Obj> Stars;
Moving_Rectangle WipeRects[Scenery_WipeRects];
Image* BackgroundPictures[Scenery_PictureSlots] = {};

int CurPicture = 0, CurSky = 0;
int OldPicture = 0, OldSky = 0;
float PictureLevel[Scenery_PictureSlots] = {};
int ChangeoverActive = 0;
float ChangeoverDelay = 0.0f;
int CloudLayerCur = 1, CloudLayerNext = 2;
int CloudLayerCount = 3;
int NewMusicPending = 0;
