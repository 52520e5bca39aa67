// A device that never holds anything.
#include "IdleInput.h"

int IdleInput::getDirection() { return 0; }

bool IdleInput::isPressed(int) { return false; }
