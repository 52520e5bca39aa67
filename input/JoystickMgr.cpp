#include "input/JoystickMgr.h"

#include "input/Error.h"

#include <iostream>

namespace MSDL {

JoystickMgr::JoystickMgr() = default;

JoystickMgr::~JoystickMgr() {
    const bool sdlKnowsThem = SDL_WasInit(SDL_INIT_JOYSTICK) != 0;
    for (auto& slot : openJoysticks) {
        if (slot && *slot) {
            if (sdlKnowsThem) SDL_JoystickClose(*slot);
            *slot = nullptr;
        }
    }
    // Freeing the holders expires every JoystickHandle the sources keep.
    openJoysticks.clear();
}

JoystickHandle JoystickMgr::getJoystick(int index) {
    if (SDL_WasInit(SDL_INIT_JOYSTICK) == 0) {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        std::cout << "joystick inited." << std::endl;
    }
    if (index < 0) return {};
    if (static_cast<std::size_t>(index) >= openJoysticks.size()) {
        openJoysticks.resize(static_cast<std::size_t>(index) + 1);
    }
    auto& slot = openJoysticks[static_cast<std::size_t>(index)];
    if (!slot) {
        slot = std::make_shared<SDL_Joystick*>(SDL_JoystickOpen(index));
        if (*slot) {
            std::cout << "success open joystick " << index << std::endl;
        } else {
            std::cout << "failed open joystick " << index << std::endl;
        }
    }
    if (*slot) return slot;
    return {};
}

JoystickMgr& JoystickMgr::current() {
    JoystickMgr* mgr = instance();
    if (!mgr) throw Error("MSDL::JoystickMgr: no instance.");
    return *mgr;
}

}  // namespace MSDL
