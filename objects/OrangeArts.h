// The Obstacle character's Arts: auras that stop, push or kill the opponent.
#pragma once

#include "objects/Art.h"

class OrangeArt1 : public Art {
public:
    // Holds the opponent still while it is near the owner, for 10 s.
    void start() override;
    // Lets the opponent move again.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class OrangeArt2 : public Art {
public:
    // Pushes a near opponent by twice the owner's velocity, for 10 s.
    void start() override;
    // Ends the push.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class OrangeArt3 : public Art {
public:
    // For 1 s the owner flies on unsteered, immune to opposing bullets, and kills a near
    // opponent; clears the owner's own colour from the field.
    void start() override;
    // Ends the aura and clears the opponent's colour from the field.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};
