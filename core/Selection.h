// What the front-end screens are handed and what they choose: the mode and both characters.
#pragma once

#include <array>

class MainWindow;
namespace MSDL {
class InputBase;
}  // namespace MSDL

struct Selection {
    MainWindow* window = nullptr;  // not owned
    // The first player's device, which alone drives the screens; must be set. Any device
    // will do, not only a configured one: the screens only take snapshots of it.
    MSDL::InputBase* input = nullptr;  // not owned
    // The chosen Art colour (0..5) of each side: 0 white, 1 black.
    std::array<int, 2> artColor = {0, 0};
    // The second side is the computer.
    bool vsCpu = false;
};
