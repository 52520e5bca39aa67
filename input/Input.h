// The configurable device: direction sources and numbered button sources; the key
// configuration files (input/KeyConf.h) build it.
#pragma once

#include "input/AxisInput.h"
#include "input/ButtonInput.h"
#include "input/InputBase.h"

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

namespace MSDL {

// Owns its sources. A device holding joystick sources must be destroyed before the JoystickMgr
// (see input/JoystickMgr.h); used after it, those sources read "not held".
class Input : public InputBase {
public:
    Input();
    ~Input() override;

    // The or of getDirection() of every direction source; 0 with none.
    int getDirection() override;

    // True if any source stored under `button` is held; false if none is stored.
    bool isPressed(int button) override;

    // One entry per number that has at least one source, valued isPressed(number).
    std::unique_ptr<ButtonStates> getButtons() override;

    // Adds a direction source; a null one is ignored.
    void addAxis(std::unique_ptr<AxisInput> axis);

    // Adds a source under a button number (several may serve one number); a null one is ignored.
    void addButton(int button, std::unique_ptr<ButtonInput> source);

    const std::vector<std::unique_ptr<AxisInput>>& getAxes() const { return axes; }

    // How many sources are stored under `button`.
    std::size_t sourceCount(int button) const { return buttons.count(button); }

private:
    std::vector<std::unique_ptr<AxisInput>> axes;
    std::multimap<int, std::unique_ptr<ButtonInput>> buttons;
};

}  // namespace MSDL
