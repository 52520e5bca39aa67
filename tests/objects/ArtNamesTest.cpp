// The characters' words and the Arts' descriptions as the select screen shows them.
#include "objects/ArtNames.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

TEST(ArtNames, DescriptionsArePaddedSentencesOfOneWidth) {
    for (int c = 0; c < ART_COLORS; ++c) {
        for (int level = 1; level <= ART_LEVELS; ++level) {
            const std::string& text = artDescription(c, level);
            ASSERT_EQ(text.size(), 48u) << c << " " << level;
            const std::size_t end = text.find_last_not_of(' ');
            ASSERT_NE(end, std::string::npos);
            EXPECT_EQ(text[end], '.') << text;
            EXPECT_NE(text[0], ' ') << text;
        }
    }
    // By colour, then level; the longest fills the width without padding.
    EXPECT_EQ(artDescription(2, 1), "Pull your bullets quickly for a very short time.");
    EXPECT_EQ(artDescription(5, 3), "Add your partner." + std::string(31, ' '));
}

TEST(ArtNames, NoNameOutsideTheSixColoursAndThreeLevels) {
    EXPECT_THROW(artWord(-1), std::out_of_range);
    EXPECT_THROW(artWord(6), std::out_of_range);
    EXPECT_THROW(artDescription(6, 1), std::out_of_range);
    EXPECT_THROW(artDescription(0, 0), std::out_of_range);
    EXPECT_THROW(artDescription(0, 4), std::out_of_range);
}
