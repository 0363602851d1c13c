// The pictures the board draws with, loaded by the program at start-up and handed to the board
// here (the board does not load start-up pictures itself).
#pragma once

struct Image;

struct Board_Pictures {
    Image* tile_empty = nullptr; // cell without ice
    Image* tile1 = nullptr;      // ice
    Image* tile2 = nullptr;      // snow on ice
    Image* tile_selected = nullptr;
    Image* crystal = nullptr;  // 48 x 48 frames
    Image* snowball = nullptr; // 48 x 48 frames
    Image* snowball_half = nullptr;
    Image* icecube = nullptr; // 77 x 40 frames
    Image* halo[7] = {};
    Image* chain1 = nullptr;
    Image* chain2 = nullptr;
    Image* bomb = nullptr;   // 10 frames
    Image* golden = nullptr; // spark drawn over golden pieces
    // Contour pictures per set (corner, U, cross): light and dark, up to two variants.
    Image* contour[3][2] = {};
    Image* contour_dark[3][2] = {};
    int contour_count[3] = {};
};

extern Board_Pictures BoardPics;
