// A source of a direction, as the direction bit set.
#pragma once

namespace MSDL {

// Owners (Input) hold direction sources as std::unique_ptr<AxisInput>.
class AxisInput {
public:
    // The direction held now: an or of UP, DOWN, RIGHT and LEFT (input/Direction.h).
    virtual int getDirection() const = 0;
    virtual ~AxisInput();

    AxisInput(const AxisInput&) = delete;
    AxisInput& operator=(const AxisInput&) = delete;

protected:
    AxisInput() = default;
};

}  // namespace MSDL
