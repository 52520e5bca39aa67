#include "input/AxisInput.h"

namespace MSDL {

AxisInput::~AxisInput() = default;

}  // namespace MSDL
