// Opens joysticks on demand, at most once each, and owns them.
#pragma once

#include "core/Singleton.h"

#include <SDL.h>

#include <memory>
#include <vector>

namespace MSDL {

// What a joystick source keeps of an opened joystick: a weak reference to the manager's holder
// of the SDL_Joystick*. The manager is the holder's only owner, so the reference expires when
// the manager is destroyed; a source then reads "not held" instead of touching a closed
// joystick. An expired (or empty) handle is the "null" of getJoystick.
using JoystickHandle = std::weak_ptr<SDL_Joystick* const>;

// Contract of the lifetimes:
// - Make it before any joystick source (the sources and generateButtonInputFromString ask
//   JoystickMgr::current(), which throws MSDL::Error when there is none). Its constructor does
//   not touch SDL.
// - Destroy the devices that hold joystick sources before it (Game: inputs first, then the
//   JoystickMgr). A source that outlives it never reads the joystick again and reports "not
//   held"; nothing dangles.
// - Destroy it before SDL_Quit: its destructor closes every opened joystick with
//   SDL_JoystickClose. If SDL's joystick sub-system is already shut down, it only drops the
//   handles: SDL 1.2 has dropped its list of open joysticks, and SDL_JoystickClose would
//   walk that freed list.
class JoystickMgr : public Singleton<JoystickMgr> {
public:
    JoystickMgr();
    ~JoystickMgr() override;

    // The joystick of that index, opened at the first request:
    // 1. starts SDL's joystick sub-system if it is not running, writing "joystick inited.";
    // 2. opens the joystick once, writing "success open joystick N" or "failed open joystick N";
    //    a failure is remembered, neither retried nor reported again.
    // Returns an empty handle when the joystick cannot be opened (or the index is negative).
    JoystickHandle getJoystick(int index);

    // The instance; throws MSDL::Error when no JoystickMgr exists.
    static JoystickMgr& current();

private:
    // Slot i is empty until joystick i is requested; then it holds the result of
    // SDL_JoystickOpen(i), null for a failed open.
    std::vector<std::shared_ptr<SDL_Joystick*>> openJoysticks;
};

}  // namespace MSDL
