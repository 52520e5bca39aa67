// The Background character's Arts: the field is dyed in the owner's side colour.
#pragma once

#include "objects/Art.h"

class BlueArt1 : public Art {
public:
    // Dyes the 201 x 201 square around the owner.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class BlueArt2 : public Art {
public:
    // Washes the whole field half-way toward the owner's colour.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class BlueArt3 : public Art {
public:
    // Dyes the whole field in the owner's colour.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};
