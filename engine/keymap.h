// SDL keys to Windows virtual-key codes (engine internal).
#pragma once

#include <SDL_keyboard.h>

// The virtual-key code of a key, 0 for keys the game has no code for. Letters, digits and
// punctuation follow the keyboard layout (the key code); where the layout gives a character
// with no code of its own, the key's position (the scan code) decides instead.
int Keymap_ToVirtualKey(SDL_Keycode key, SDL_Scancode scan);

// The generic code of a left/right modifier (16 Shift, 17 Control, 18 Alt), else 0.
int Keymap_GenericModifier(int vk);
