#include "input/Error.h"

namespace MSDL {

Error::Error(const std::string& message) : std::runtime_error(message) {}

Error::~Error() = default;

}  // namespace MSDL
