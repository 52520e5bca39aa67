// The Guard character's Arts: auras against bullets.
#pragma once

#include "objects/Art.h"

class GreenArt1 : public Art {
public:
    // For 3 s opposing bullets are flipped away instead of grazed, and cannot kill.
    void start() override;
    // Ends the aura.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class GreenArt2 : public Art {
public:
    // For 3 s opposing bullets are eaten instead of grazed, and cannot kill.
    void start() override;
    // Ends the aura.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class GreenArt3 : public Art {
public:
    // For 3 s all bullets are flipped away, the owner's own too, opposing ones cannot kill,
    // and the owner moves twice as fast.
    void start() override;
    // Ends the aura.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};
