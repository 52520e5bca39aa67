// The words and texts that name the six characters and their eighteen Arts, shared by the
// player select and the Arts.
#pragma once

#include <string>

// Art colours run from 0 (red) to ART_COLORS - 1 (purple); levels from 1 to ART_LEVELS.
constexpr int ART_COLORS = 6;
constexpr int ART_LEVELS = 3;
// Every description is padded to this many characters, so drawing one covers the last.
constexpr int ART_DESCRIPTION_LENGTH = 48;

// The character's word on the select screen: "Rank", "Obstacle", "Yank", "Guard",
// "Background", "Partner". Throws std::out_of_range for a colour outside 0..5.
const char* artWord(int color);

// What the Art of that colour and level does, padded with spaces to ART_DESCRIPTION_LENGTH.
// Throws std::out_of_range for a colour outside 0..5 or a level outside 1..3.
const std::string& artDescription(int color, int level);
