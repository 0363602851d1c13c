#include "app/keyboard_nav.h"

#include "app/main_loop.h"
#include "app/player_screen.h"
#include "audio/sound_fx.h"
#include "board/blasts.h"
#include "board/cursor.h"
#include "board/hammers.h"
#include "board/matching.h"
#include "board/pieces.h"
#include "board/ripple.h"
#include "board/swap.h"
#include "board/table.h"
#include "board/tips.h"
#include "engine/frame.h"
#include "engine/input.h"

#include <algorithm>
#include <vector>

namespace {

struct FocusState {
    std::vector<const void*> offered, offered_last;   // in the order the screen updated them
    std::vector<const void*> sideways, sideways_last; // offered controls that take Left and Right
    std::vector<KeyNav_Box> boxes, boxes_last;        // where each offered control stands
    const void* focus = nullptr;
    const void* push = nullptr; // pushed by Enter in this pass
    int slide = 0;              // Right minus Left for a focused sideways control, this pass
    bool screen_turn = false;
    bool pause_asked = false; // Start or an unplugged pad: Escape pauses whatever is in hand
    float held_ms[4] = {};    // how long each gamepad direction has been held
};

// A gamepad direction held down repeats, as a held arrow key does.
constexpr float kRepeatDelayMs = 400.0f, kRepeatEveryMs = 120.0f;
FocusState Nav;

void TapKey(int vk) {
    Input_InjectKey(vk, true);
    Input_InjectKey(vk, false);
}

bool Playing() {
    return GameState == STATE_PLAYING && !DialogActive;
}

// The first press of Start or A stands for Escape while a level plays or is paused.
void PadStart() {
    if (GameState == STATE_PLAYING || GameState == STATE_PAUSED) {
        Nav.pause_asked = Playing();
        TapKey(VK_ESCAPE);
    } else {
        TapKey(VK_RETURN);
    }
}

void RepeatHeldDirections() {
    static constexpr int kDirections[4][2] = {
        {PAD_UP, VK_UP}, {PAD_DOWN, VK_DOWN}, {PAD_LEFT, VK_LEFT}, {PAD_RIGHT, VK_RIGHT}};
    for (int i = 0; i < 4; ++i) {
        float& held = Nav.held_ms[i];
        if (!PadDown(kDirections[i][0])) {
            held = 0.0f;
            continue;
        }
        const float before = held;
        held += DeltaMs;
        if (held < kRepeatDelayMs) continue;
        const int due = static_cast<int>((held - kRepeatDelayMs) / kRepeatEveryMs);
        const int done = before < kRepeatDelayMs
                             ? -1
                             : static_cast<int>((before - kRepeatDelayMs) / kRepeatEveryMs);
        for (int n = done; n < due; ++n)
            TapKey(kDirections[i][1]);
    }
}

// Name fields keep the arrows for their own cursor.
bool TextEditing() {
    return Name_Editing != nullptr || (DialogActive && DialogDrawFn == NameDialogDraw);
}

void PadToKeys() {
    struct PadKey {
        int button, vk;
    };
    static constexpr PadKey kPadKeys[] = {
        {PAD_A, VK_RETURN},     {PAD_B, VK_ESCAPE},      {PAD_BACK, VK_ESCAPE},
        {PAD_Y, 'H'},           {PAD_LEFTSHOULDER, '1'}, {PAD_RIGHTSHOULDER, '2'},
        {PAD_LEFTTRIGGER, '3'}, {PAD_RIGHTTRIGGER, '3'}, {PAD_UP, VK_UP},
        {PAD_DOWN, VK_DOWN},    {PAD_LEFT, VK_LEFT},     {PAD_RIGHT, VK_RIGHT},
    };
    // In a name field X puts in a new letter and Y takes out the one before the cursor (there is
    // no hint to ask for there); X does nothing elsewhere.
    const bool text = TextEditing();
    for (const PadKey& k : kPadKeys)
        for (int n = PadHit(k.button); n > 0; --n)
            TapKey(text && k.button == PAD_Y ? VK_BACK : k.vk);
    for (int n = PadHit(PAD_X); n > 0; --n)
        if (text) TapKey(VK_INSERT);
    for (int n = PadHit(PAD_START); n > 0; --n)
        PadStart();
    RepeatHeldDirections();
    // An unplugged pad pauses the level it was playing.
    if (PadRemovedHit() > 0 && Playing() && !Tip_Showing) {
        Nav.pause_asked = true;
        TapKey(VK_ESCAPE);
    }
}

bool FocusSideways() {
    const auto& list = Nav.sideways_last;
    return Nav.focus && std::find(list.begin(), list.end(), Nav.focus) != list.end();
}

int FocusStep() {
    int step = 0;
    if (KeyHit(VK_TAB) > 0) step = KeyDown(VK_SHIFT) ? -1 : 1;
    if (Playing() || TextEditing()) return step;
    // A focused slider keeps Left and Right for itself; every press counts, so held keys repeat.
    const bool sideways = FocusSideways();
    const int right = KeyHit(VK_RIGHT), left = KeyHit(VK_LEFT);
    if (sideways) Nav.slide = right - left;
    const int next = KeyHit(VK_DOWN) + (sideways ? 0 : right);
    const int back = KeyHit(VK_UP) + (sideways ? 0 : left);
    if (next > 0) step = 1;
    if (back > 0) step = -1;
    return step;
}

void MoveFocus(int step) {
    const std::vector<const void*>& list = Nav.offered_last;
    if (step == 0 || list.empty()) return;
    const auto at = std::find(list.begin(), list.end(), Nav.focus);
    const int n = static_cast<int>(list.size());
    int i = at == list.end() ? (step > 0 ? 0 : n - 1)
                             : (static_cast<int>(at - list.begin()) + step + n) % n;
    Nav.focus = list[static_cast<std::size_t>(i)];
}

// ---- The board ---------------------------------------------------------------------------

bool Cursor_OnPlayableCell() {
    const Point c = Cursor_Cell;
    return Table_OnBoard(c.x, c.y) && !Table[c.x][c.y].void_;
}

// The cursor comes back at the selected piece, or mid-board; while shown it stays on a playable
// cell.
void Cursor_Show() {
    if (!Cursor_Visible) {
        const Point s = Selected_Cell;
        const bool selected = Selection_Active && Table_OnBoard(s.x, s.y);
        Cursor_Place(selected ? s.x : Table_dx / 2, selected ? s.y : Table_dy / 2);
    } else if (!Cursor_OnPlayableCell()) {
        Cursor_Place(Cursor_Cell.x, Cursor_Cell.y);
    }
    Cursor_Visible = 1;
}

// The cell the rules take as clicked.
void Board_Aim(Point cell) {
    Mouse_Cell = cell;
}

void Board_Act() {
    const Point c = Cursor_Cell;
    if (Hammer_Active) {
        Hammer_Strike(c.x, c.y);
        return;
    }
    Board_Aim(c);
    if (!Tip_ClickAllowed()) return;
    const Piece* p = Table[c.x][c.y].piece_id;
    if (p && p->color == Kind_Snowball && !p->falling) {
        Snowball_Launch(c.x, c.y);
    } else if (Selection_Active && Selected_Cell.x == c.x && Selected_Cell.y == c.y) {
        Selection_Active = 0; // a second press on the selected piece lets go of it
    } else if (!Selection_Active || !Table_StartSwap()) {
        Table_Select();
    }
}

// An arrow: with the piece under the cursor selected it swaps that way, otherwise it moves.
void Board_Arrow(int dx, int dy) {
    const Point c = Cursor_Cell;
    const bool holding = Selection_Active && Selected_Cell.x == c.x && Selected_Cell.y == c.y;
    if (!holding || Hammer_Active) {
        Cursor_Step(dx, dy);
        return;
    }
    const Point to{c.x + dx, c.y + dy};
    Board_Aim(to);
    if (Table_OnBoard(to.x, to.y) && Tip_ClickAllowed() && Table_StartSwap()) {
        Cursor_Cell = to; // the cursor goes along with the piece
        return;
    }
    Snd_Play(SND_REFUSAL, 0.0f, Snd_FxVolume(), 1.0f, 0.0f);
}

void Board_Hint() {
    Hint_Timer = 0;
    const Point corner = Table_CellToPixel(Cursor_Cell.x, Cursor_Cell.y);
    Table_Hint(corner.x, corner.y, Min_Match);
    if (Hint_BestDist >= 0) Cursor_Cell = Point{Hint_Move[0], Hint_Move[1]};
}

// Key n takes hammer n once the meter has reached it; the same key again puts it back. A weaker
// hammer than the meter allows costs the whole meter, as with the mouse.
void Board_Hammer(int n) {
    static constexpr int kThresholds[3] = {Hammer_Threshold1, Hammer_Threshold2, Hammer_Threshold3};
    if (Hammer_Disabled || Hammer3_Count > 0) return;
    if (Hammer_Active) {
        const bool same = Hammer_Level == n;
        Hammer_Drop(1);
        if (same) return;
    }
    if (Hammer_Points < kThresholds[n - 1]) {
        Snd_Play(SND_REFUSAL, 0.0f, Snd_FxVolume(), 1.0f, 0.0f);
        return;
    }
    Hammer_Take();
    Hammer_Level = n;
    Hammer_Cursor = HammerPics.hammer[n - 1];
}

struct BoardKeys {
    int dx = 0, dy = 0;
    bool act = false, hint = false;
    int hammer = 0;

    bool Any() const { return dx != 0 || dy != 0 || act || hint || hammer != 0; }
};

BoardKeys ReadBoardKeys() {
    BoardKeys k;
    k.dx = (KeyHit(VK_RIGHT) > 0) - (KeyHit(VK_LEFT) > 0);
    k.dy = (KeyHit(VK_DOWN) > 0) - (KeyHit(VK_UP) > 0);
    if (k.dx != 0) k.dy = 0; // one step at a time, never diagonally
    // While a help tip shows, Space and Enter are left to close it.
    if (!Tip_Showing) k.act = (KeyHit(VK_SPACE) > 0) + (KeyHit(VK_RETURN) > 0) > 0;
    if (!KeyDown(VK_CONTROL)) k.hint = KeyHit('H') > 0; // Control+H is a developer key
    for (int n = 1; n <= 3; ++n)
        if (KeyHit('0' + n) > 0) k.hammer = n;
    return k;
}

} // namespace

void KeyNav_BeginPass() {
    Nav.pause_asked = false;
    PadToKeys();
    if (MouseMoved || MouseLeftPressed || MouseRightPressed) {
        Nav.focus = nullptr;
        Cursor_Visible = 0;
    }
    Nav.offered_last.swap(Nav.offered);
    Nav.offered.clear();
    Nav.sideways_last.swap(Nav.sideways);
    Nav.sideways.clear();
    Nav.boxes_last.swap(Nav.boxes);
    Nav.boxes.clear();
    const auto& last = Nav.offered_last;
    if (std::find(last.begin(), last.end(), Nav.focus) == last.end()) Nav.focus = nullptr;
    Nav.slide = 0;
    const int step = FocusStep();
    if (step != 0) Nav.slide = 0; // Tab, Up or Down in the same pass leave the slider alone
    MoveFocus(step);
    Nav.push = Nav.focus && KeyHit(VK_RETURN) > 0 ? Nav.focus : nullptr;
}

void KeyNav_ScreenTurn(bool on) {
    Nav.screen_turn = on;
}

bool KeyNav_Offer(const void* control, KeyNav_Box box) {
    if (Nav.screen_turn && DialogActive && !DialogPassInput) return false;
    if (std::find(Nav.offered.begin(), Nav.offered.end(), control) == Nav.offered.end()) {
        Nav.offered.push_back(control);
        Nav.boxes.push_back(box);
    }
    return control == Nav.focus;
}

bool KeyNav_TakePush(const void* control) {
    if (!control || Nav.push != control) return false;
    Nav.push = nullptr;
    return true;
}

void KeyNav_Sideways(const void* control) {
    if (std::find(Nav.offered.begin(), Nav.offered.end(), control) == Nav.offered.end()) return;
    if (std::find(Nav.sideways.begin(), Nav.sideways.end(), control) == Nav.sideways.end())
        Nav.sideways.push_back(control);
}

int KeyNav_TakeSlide(const void* control) {
    if (!control || control != Nav.focus) return 0;
    const int slide = Nav.slide;
    Nav.slide = 0;
    return slide;
}

bool KeyNav_HasFocus() {
    return Nav.focus != nullptr;
}

// The focused control's box as offered in this pass, or null (also when it was not offered).
std::string FocusBoxJson() {
    const auto& list = Nav.offered;
    const auto at = std::find(list.begin(), list.end(), Nav.focus);
    if (!Nav.focus || at == list.end()) return "null";
    const KeyNav_Box& b = Nav.boxes[static_cast<std::size_t>(at - list.begin())];
    return "[" + std::to_string(b.x) + ", " + std::to_string(b.y) + ", " + std::to_string(b.w) +
           ", " + std::to_string(b.h) + "]";
}

std::string KeyNav_StateJson() {
    return "\"KeyNav\": {\"Cursor_Visible\": " + std::to_string(Cursor_Visible) +
           ", \"Cursor_Cell\": [" + std::to_string(Cursor_Cell.x) + ", " +
           std::to_string(Cursor_Cell.y) + "], \"Focus\": " + (Nav.focus ? "1" : "0") +
           ", \"Pads\": " + std::to_string(PadCount()) + "},\n  \"Focus_Box\": " + FocusBoxJson();
}

void KeyNav_BoardKeys() {
    const BoardKeys k = ReadBoardKeys();
    if (!k.Any() || Intro_Active) return; // keys pressed during the fade-in are dropped
    Nav.focus = nullptr;
    const bool was_visible = Cursor_Visible != 0 && Cursor_OnPlayableCell();
    Cursor_Show();
    if (!Cursor_OnPlayableCell()) return; // a board without a playable cell
    if (k.hammer) Board_Hammer(k.hammer);
    if (k.hint) Board_Hint();
    // The first arrow only shows where the cursor is.
    if ((k.dx || k.dy) && was_visible) Board_Arrow(k.dx, k.dy);
    if (k.act) Board_Act();
}

bool KeyNav_BoardBack() {
    if (!Cursor_Visible || Tip_Showing || Nav.pause_asked) return false;
    if (!Hammer_Active && !Selection_Active) return false;
    if (KeyHit(VK_ESCAPE) == 0) return false;
    if (Hammer_Active)
        Hammer_Drop(1);
    else
        Selection_Active = 0;
    return true;
}
