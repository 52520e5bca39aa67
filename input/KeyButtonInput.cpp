#include "input/KeyButtonInput.h"

#include <SDL.h>

namespace MSDL {

KeyButtonInput::KeyButtonInput(int key_) : key(key_) {}

bool KeyButtonInput::isPressed() const {
    int count = 0;
    const Uint8* keys = SDL_GetKeyState(&count);
    return keys && key >= 0 && key < count && keys[key] != 0;
}

}  // namespace MSDL
