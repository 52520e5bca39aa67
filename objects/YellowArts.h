// The Yank character's Arts: pulls toward the owner.
#pragma once

#include "objects/Art.h"

class YellowArt1 : public Art {
public:
    // Lasts 500 ms.
    void start() override;
    // Pulls every object of the owner's colour toward it, fast, the closest fastest.
    void frame() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class YellowArt2 : public Art {
public:
    // Lasts 10 s.
    void start() override;
    // Pulls every object of the owner's colour toward it, slowly, the closest fastest.
    void frame() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class YellowArt3 : public Art {
public:
    // Lasts 10 s.
    void start() override;
    // Pulls the opponent toward the owner at up to 50 pixels per second.
    void frame() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};
