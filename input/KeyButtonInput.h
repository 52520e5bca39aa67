// One keyboard key as a button source.
#pragma once

#include "input/ButtonInput.h"

namespace MSDL {

class KeyButtonInput : public ButtonInput {
public:
    // key: an SDL key code (SDLKey). It is not checked: a code no key produces (65, 'A', say)
    // or one outside SDL's key table is simply never held.
    explicit KeyButtonInput(int key);

    // The entry of SDL_GetKeyState(NULL) for the key is non-zero.
    bool isPressed() const override;

    int getKey() const { return key; }

private:
    int key;
};

}  // namespace MSDL
