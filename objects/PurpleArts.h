// The Partner character's Arts: the partners' rank and number.
#pragma once

#include "objects/Art.h"

class PurpleArt1 : public Art {
public:
    // Raises the rank as 30 grazes at a low level would.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class PurpleArt2 : public Art {
public:
    // For 10 s the partners play at rank 1 and eating raises neither rank nor eatings.
    void start() override;
    // Ends the maximum rank.
    void finish() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};

class PurpleArt3 : public Art {
public:
    // Adds a partner playing the owner's level, for all the owner's eatings.
    void start() override;
    // The description shown for this colour and level.
    const std::string& description() const override;
};
