// The Rank character's Arts: they work on the eatings gauges and on the opponent's bullets.
#pragma once

#include "objects/Art.h"

class RedArt1 : public Art {
public:
    // Clears the field of the opponent's shots and dyeing enemies.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class RedArt2 : public Art {
public:
    // Rounds the eatings down to a multiple of 5 and adds 200, up to the full gauge.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class RedArt3 : public Art {
public:
    // Adds 300 to the owner's eatings and takes 200 from the opponent's, both rounded down
    // to a multiple of 5 first.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};
