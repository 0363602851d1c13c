#include "board/board.h"

#include "audio/sound_fx.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "data/tileset.h"

#include <sstream>

void Board_Init(bool with_tiles) {
    static bool board_ready = false, tiles_ready = false;
    if (!board_ready) {
        Table_Create();
        Pieces_Init();
        Snd_BoardOffsetX = &View_OffsetX; // board sounds pan by their place on the screen
        board_ready = true;
    }
    if (with_tiles && !tiles_ready) {
        InitTilesets();
        tiles_ready = true;
    }
}

namespace {

void Json_Cell(std::ostringstream& o, const Table_cell& c) {
    o << "{\"void\": " << c.void_ << ", \"background\": " << c.background
      << ", \"autospawn\": " << c.autospawn << ", \"piece\": ";
    if (const Piece* p = c.piece_id)
        o << "{\"kind\": " << p->color << ", \"locks\": " << p->shields_count
          << ", \"bomb\": " << p->bomb << ", \"falling\": " << p->falling << "}";
    else
        o << "null";
    o << "}";
}

} // namespace

std::string Board_StateJson() {
    std::ostringstream o;
    o << "\"Table_dx\": " << Table_dx << ", \"Table_dy\": " << Table_dy << ", \"Score\": " << Score
      << ", \"Score_Mult\": " << Score_Mult << ", \"Lives\": " << Lives
      << ", \"Intro_Active\": " << Intro_Active << ", \"Selection_Active\": " << Selection_Active
      << ", \"Selected_Cell\": [" << Selected_Cell.x << ", " << Selected_Cell.y << "]"
      << ", \"Player_Matches\": " << Player_Matches << ", \"Hint_Move\": ";
    if (Hint_BestDist == -1)
        o << "null";
    else
        o << "[" << Hint_Move[0] << ", " << Hint_Move[1] << ", " << Hint_Move[2] << ", "
          << Hint_Move[3] << "]";
    o << ", \"Ice_Left\": " << Table_CountIce() << ", \"pieces\": " << Pieces_Count()
      << ", \"cells\": [";
    // Rows from the top, each a list of its cells from the left.
    for (int y = 0; y < Table_dy; ++y) {
        o << (y ? ", [" : "[");
        for (int x = 0; x < Table_dx; ++x) {
            if (x) o << ", ";
            Json_Cell(o, Table[x][y]);
        }
        o << "]";
    }
    o << "]";
    return o.str();
}
