// The characters' words and the Arts' descriptions.
#include "objects/ArtNames.h"

#include <array>
#include <stdexcept>

namespace {

const std::array<const char*, ART_COLORS> WORDS = {"Rank",  "Obstacle",   "Yank",
                                                   "Guard", "Background", "Partner"};

// By colour, then level.
const std::array<std::array<const char*, ART_LEVELS>, ART_COLORS> TEXTS = {{
    {"Delete all enemy shots.", "Increase your eatings.",
     "Absorb the eatings of your opponent."},
    {"You can stop the opponent by touching it.", "You have an aura that flips your opponent.",
     "You have an aura that kills your opponent."},
    {"Pull your bullets quickly for a very short time.", "Pull your bullets slowly for a while.",
     "Pull your opponent for a while."},
    {"You have an aura that flips enemy bullet.", "You have an aura that absorps enemy bullet.",
     "You have an aura that flips all bullet."},
    {"Dye around you with your color.", "Mix your color to the whole world.",
     "Dye your color to the whole world."},
    {"Increase the rank of your partners.", "Temporarily maximize the rank of your partners.",
     "Add your partner."},
}};

void checkColor(int color) {
    if (color < 0 || color >= ART_COLORS)
        throw std::out_of_range("no Art colour " + std::to_string(color));
}

std::array<std::array<std::string, ART_LEVELS>, ART_COLORS> padAll() {
    std::array<std::array<std::string, ART_LEVELS>, ART_COLORS> padded;
    for (int c = 0; c < ART_COLORS; ++c) {
        for (int l = 0; l < ART_LEVELS; ++l) {
            std::string text = TEXTS[c][l];
            if (text.size() > static_cast<std::size_t>(ART_DESCRIPTION_LENGTH))
                throw std::logic_error("Art description too long: " + text);
            text.resize(ART_DESCRIPTION_LENGTH, ' ');
            padded[c][l] = text;
        }
    }
    return padded;
}

}  // namespace

const char* artWord(int color) {
    checkColor(color);
    return WORDS[color];
}

const std::string& artDescription(int color, int level) {
    checkColor(color);
    if (level < 1 || level > ART_LEVELS)
        throw std::out_of_range("no Art level " + std::to_string(level));
    static const auto padded = padAll();
    return padded[color][level - 1];
}
