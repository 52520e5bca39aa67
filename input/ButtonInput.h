// A source of one on/off signal: a key, a joystick button or one half of a stick.
#pragma once

namespace MSDL {

// Sources own no resources. Their owners (ButtonAxisInput, Input) hold them as
// std::unique_ptr<ButtonInput> and so delete them through this base.
class ButtonInput {
public:
    virtual ~ButtonInput();

    // Held now, as SDL's state tables say; the caller refreshes them (SDL_PumpEvents).
    virtual bool isPressed() const = 0;

    ButtonInput(const ButtonInput&) = delete;
    ButtonInput& operator=(const ButtonInput&) = delete;

protected:
    ButtonInput() = default;
};

}  // namespace MSDL
