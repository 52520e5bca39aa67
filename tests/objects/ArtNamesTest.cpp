// The characters' words and the Arts' descriptions as the select screen shows them.
#include "objects/ArtNames.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ArtNames, NoNameOutsideTheSixColoursAndThreeLevels) {
    EXPECT_THROW(artWord(-1), std::out_of_range);
    EXPECT_THROW(artWord(6), std::out_of_range);
    EXPECT_THROW(artDescription(6, 1), std::out_of_range);
    EXPECT_THROW(artDescription(0, 0), std::out_of_range);
    EXPECT_THROW(artDescription(0, 4), std::out_of_range);
}
