#include "engine/keymap.h"

#include "engine/input.h"

namespace {

struct KeyPair {
    int sdl;
    int vk;
};

// Keys named by their key code, whatever the layout.
constexpr KeyPair kByKeycode[] = {
    {SDLK_RETURN, VK_RETURN},  {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},  {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},        {SDLK_SPACE, VK_SPACE},
    {SDLK_DELETE, VK_DELETE},  {SDLK_INSERT, VK_INSERT},
    {SDLK_HOME, VK_HOME},      {SDLK_END, VK_END},
    {SDLK_PAGEUP, VK_PRIOR},   {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_LEFT, VK_LEFT},      {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},    {SDLK_DOWN, VK_DOWN},
    {SDLK_PAUSE, VK_PAUSE},    {SDLK_CAPSLOCK, 20},
    {SDLK_PRINTSCREEN, 44},    {SDLK_LGUI, 91},
    {SDLK_RGUI, 92},           {SDLK_APPLICATION, 93},
    {SDLK_NUMLOCKCLEAR, 144},  {SDLK_SCROLLLOCK, 145},
    {SDLK_LSHIFT, VK_LSHIFT},  {SDLK_RSHIFT, VK_RSHIFT},
    {SDLK_LCTRL, VK_LCONTROL}, {SDLK_RCTRL, VK_RCONTROL},
    {SDLK_LALT, VK_LMENU},     {SDLK_RALT, VK_RMENU},
    {SDLK_KP_0, 96},           {SDLK_KP_1, 97},
    {SDLK_KP_2, 98},           {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},          {SDLK_KP_5, 101},
    {SDLK_KP_6, 102},          {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},          {SDLK_KP_9, 105},
    {SDLK_KP_MULTIPLY, 106},   {SDLK_KP_PLUS, 107},
    {SDLK_KP_MINUS, 109},      {SDLK_KP_PERIOD, 110},
    {SDLK_KP_DIVIDE, 111},     {SDLK_SEMICOLON, 186},
    {SDLK_EQUALS, 187},        {SDLK_COMMA, 188},
    {SDLK_MINUS, 189},         {SDLK_PERIOD, 190},
    {SDLK_SLASH, 191},         {SDLK_BACKQUOTE, 192},
    {SDLK_LEFTBRACKET, 219},   {SDLK_BACKSLASH, 220},
    {SDLK_RIGHTBRACKET, 221},  {SDLK_QUOTE, 222},
};

// Keys whose layout character has no code: named by where they sit on a US keyboard.
constexpr KeyPair kByScancode[] = {
    {SDL_SCANCODE_SEMICOLON, 186},  {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},      {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},     {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},      {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},  {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222}, {SDL_SCANCODE_NONUSBACKSLASH, 226},
};

int FromKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24) return 124 + (key - SDLK_F13);
    for (const KeyPair& p : kByKeycode)
        if (p.sdl == key) return p.vk;
    return 0;
}

int FromScancode(SDL_Scancode scan) {
    if (scan >= SDL_SCANCODE_A && scan <= SDL_SCANCODE_Z) return 'A' + (scan - SDL_SCANCODE_A);
    if (scan >= SDL_SCANCODE_1 && scan <= SDL_SCANCODE_9) return '1' + (scan - SDL_SCANCODE_1);
    if (scan == SDL_SCANCODE_0) return '0';
    for (const KeyPair& p : kByScancode)
        if (p.sdl == scan) return p.vk;
    return 0;
}

} // namespace

int Keymap_ToVirtualKey(SDL_Keycode key, SDL_Scancode scan) {
    int vk = FromKeycode(key);
    return vk ? vk : FromScancode(scan);
}

int Keymap_GenericModifier(int vk) {
    switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return 0;
    }
}
