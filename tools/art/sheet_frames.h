// Every picture the game loads, with the frame size and count its loader cuts it into (a count
// of 1 is a single picture). A size of 0 means any size. Shared by the contact sheet and the
// art tests, so both read the same truth.
#pragma once

struct ArtPictureSpec {
    const char* name; // path under the generated data folder
    int cell_w, cell_h, count;
};

inline constexpr ArtPictureSpec kArtPictures[] = {
    // interface
    {"images/interface/logo_small_QP.png", 0, 0, 1},
    {"images/interface/logo_Tarnwick.jpg", 0, 0, 1},
    {"images/interface/Fond_Game_Datas.png", 0, 0, 1},
    {"images/interface/arrow_yellow.png", 0, 0, 1},
    {"images/interface/Candle.png", 64, 116, 32},
    {"images/interface/button_Choose_Level.png", 80, 60, 5},
    {"images/interface/button_gx_on.png", 151, 42, 16},
    {"images/interface/button_gx_off.png", 151, 42, 16},
    {"images/interface/button_gx_glow.png", 0, 0, 1},
    {"images/interface/button_gx_selected.png", 151, 42, 1},
    {"images/interface/button_gx_play_off.png", 112, 77, 1},
    {"images/interface/button_gx_play_on.png", 112, 77, 1},
    {"images/interface/button_gx_play_glow.png", 0, 0, 1},
    {"images/interface/title.png", 0, 0, 1},
    {"images/interface/hammer.png", 60, 99, 32},
    {"images/interface/hammer2.png", 62, 103, 32},
    {"images/interface/hammer3.png", 82, 110, 32},
    {"images/interface/ovale_hammer2.png", 103, 115, 16},
    {"images/interface/ovale_hammer3.png", 103, 115, 16},
    {"images/interface/button_anim2_on.png", 94, 26, 1},
    {"images/interface/button_anim2_off.png", 94, 26, 1},
    {"images/interface/button_anim2_glow.png", 0, 0, 1},
    {"images/interface/ingame_interface.png", 0, 0, 1},
    {"images/interface/bckg_options.jpg", 800, 600, 1},
    {"images/interface/frame.png", 0, 0, 1},
    {"images/interface/opt_settings.png", 0, 0, 1},
    {"images/interface/opt_cursor.png", 49, 35, 2},
    {"images/interface/opt_check.png", 34, 25, 2},
    {"images/interface/opt_arrow_left.png", 68, 48, 2},
    {"images/interface/opt_arrow_right.png", 68, 48, 2},
    {"images/interface/opt_credits.png", 0, 0, 1},
    {"images/interface/Help01.png", 0, 0, 1},
    {"images/interface/Help02.png", 0, 0, 1},
    {"images/interface/Help03.png", 0, 0, 1},
    {"images/interface/youwin.png", 0, 0, 1},
    {"images/interface/gameover.png", 0, 0, 1},
    {"images/interface/highscores.png", 0, 0, 1},
    {"images/interface/map_candle.png", 0, 0, 1},
    {"images/interface/map_hammer.png", 58, 80, 1},
    {"images/interface/map_hammer2.png", 58, 80, 1},
    {"images/interface/map_hammer3.png", 58, 80, 1},
    // hourglass
    {"images/hourglass/flame_anim.png", 48, 48, 4},
    {"images/hourglass/halo_hourglass_warning.png", 0, 0, 1},
    // pieces (the gems as the tileset description cuts them)
    {"images/pieces/halo0.png", 0, 0, 1},
    {"images/pieces/halo1.png", 0, 0, 1},
    {"images/pieces/halo2.png", 0, 0, 1},
    {"images/pieces/halo3.png", 0, 0, 1},
    {"images/pieces/halo4.png", 0, 0, 1},
    {"images/pieces/halo5.png", 0, 0, 1},
    {"images/pieces/halo6.png", 0, 0, 1},
    {"images/pieces/Gem0.png", 35, 35, 64},
    {"images/pieces/Gem1.png", 53, 40, 64},
    {"images/pieces/Gem2.png", 48, 48, 64},
    {"images/pieces/Gem3.png", 48, 48, 64},
    {"images/pieces/Gem4.png", 68, 48, 64},
    {"images/pieces/Gem5.png", 48, 48, 64},
    {"images/pieces/Gem6.png", 57, 45, 64},
    // board, pieces and effects
    {"images/tile_empty.png", 48, 48, 1},
    {"images/tile1.png", 48, 48, 1},
    {"images/tile_selected.png", 48, 48, 1},
    {"images/tile2.png", 48, 48, 1},
    {"images/multicolor.png", 48, 48, 64},
    {"images/tar.png", 77, 40, 64},
    {"images/launcher.png", 48, 48, 32},
    {"images/pumpkinx9.png", 54, 54, 10},
    {"images/chain1.png", 48, 48, 64},
    {"images/chain2.png", 48, 48, 64},
    {"images/maillon_28x20_15.png", 28, 20, 15},
    {"images/combo_effect1.png", 128, 128, 32},
    {"images/spark1.png", 0, 0, 1},
    {"images/spark2.png", 0, 0, 1},
    {"images/spark3.png", 0, 0, 1},
    {"images/spark4.png", 0, 0, 1},
    {"images/spark5.png", 0, 0, 1},
    {"images/spark_snowball.png", 0, 0, 1},
    {"images/spark6.png", 20, 20, 32},
    {"images/spark7.png", 0, 0, 1},
    {"images/spark8.png", 8, 8, 32},
    {"images/spark9.png", 16, 16, 32},
    {"images/tile_part1.png", 24, 24, 20},
    {"images/ContTile_corner1.png", 48, 48, 1},
    {"images/ContTile_corner2.png", 48, 48, 1},
    {"images/ContTile_corner1_dark.png", 48, 48, 1},
    {"images/ContTile_corner2_dark.png", 48, 48, 1},
    {"images/ContTile_U1.png", 48, 48, 1},
    {"images/ContTile_U2.png", 48, 48, 1},
    {"images/ContTile_U1_dark.png", 48, 48, 1},
    {"images/ContTile_U2_dark.png", 48, 48, 1},
    {"images/ContTile_Cross.png", 48, 48, 1},
    {"images/ContTile_Cross_dark.png", 48, 48, 1},
    // scenery
    {"images/bckg_CloudsA1.png", 800, 600, 1},
    {"images/bckg_CloudsA2.png", 800, 600, 1},
    {"images/bckg_CloudsA3.png", 800, 600, 1},
    {"images/bckg_SkyA1.jpg", 800, 600, 1},
    {"images/bckg_SkyA2.jpg", 800, 600, 1},
    {"images/bckg_SkyA3.jpg", 800, 600, 1},
    {"images/Sky_Star1.png", 0, 0, 1},
    {"images/Sky_Star2.png", 0, 0, 1},
    {"images/Sky_Star3.png", 0, 0, 1},
    {"images/Snow_Flake1.png", 0, 0, 1},
    {"images/Snow_Flake2.png", 0, 0, 1},
    {"images/Snow_Flake3.png", 0, 0, 1},
    {"images/bckgA1.png", 800, 600, 1},
    {"images/bckgB1.png", 800, 600, 1},
    {"images/bckgC1.png", 800, 600, 1},
    {"images/bckgD1.png", 800, 600, 1},
    {"images/bckgE1.png", 800, 600, 1},
    {"images/bckgF1.png", 800, 600, 1},
};

// How a picture of w x h holds `count` frames of cell_w x cell_h: whole cells, laid in rows of
// equal length, with no spare row. Returns the number of columns, or 0 when it does not fit.
inline int Art_FrameColumns(int w, int h, int cell_w, int cell_h, int count) {
    if (cell_w <= 0 || cell_h <= 0 || count <= 0 || w % cell_w || h % cell_h) return 0;
    int cols = w / cell_w, rows = h / cell_h;
    if (cols * rows < count || (rows - 1) * cols >= count) return 0;
    return cols;
}
