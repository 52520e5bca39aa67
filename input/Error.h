// The failure of the input library and of the key configuration files.
#pragma once

#include <stdexcept>
#include <string>

namespace MSDL {

// Carries a message; what() returns it unchanged.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message);
    ~Error() override;
};

}  // namespace MSDL
