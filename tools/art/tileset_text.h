// The tileset description "images/pieces/tiles.txt" as the art generator writes it, kept in one
// place for the generator and the tests that read the file back.
#pragma once

// The description is read with plain substring searches and CR LF line ends; the game only
// reads the Gem lines, the shadow lines travel along as they always have.
inline constexpr char kTilesTxt[] =
    ";\r\n"
    "; tileset+color= dx, dy, images count, anim speed (millisecs)\r\n"
    ";\r\n"
    "\r\n"
    "Gem0=35,35,64,12\r\n"
    "Gem1=53,40,64,12\r\n"
    "Gem2=48,48,64,12\r\n"
    "Gem3=48,48,64,12\r\n"
    "Gem4=68,48,64,14\r\n"
    "Gem5=48,48,64,14\r\n"
    "Gem6=57,45,64,20\r\n"
    "\r\n"
    "ShadowGem0=63,45,1,15\r\n"
    "ShadowGem1=50,47,40,15\r\n"
    "ShadowGem2=32,32,1,15\r\n"
    "ShadowGem3=28,36,64,20\r\n"
    "ShadowGem4=26,32,64,25\r\n"
    "ShadowGem5=25,40,1,15\r\n"
    "ShadowGem6=28,34,40,20\r\n"
    "\r\n"
    "\r\n";
