#include "input/ButtonInput.h"

namespace MSDL {

ButtonInput::~ButtonInput() = default;

}  // namespace MSDL
