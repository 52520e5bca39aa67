// A device that never holds a direction or a button: the benchmarks' players stand still.
#pragma once

#include "input/InputBase.h"

class IdleInput : public MSDL::InputBase {
public:
    // Always 0: no direction.
    int getDirection() override;
    // Always false.
    bool isPressed(int button) override;
};
