// The game's random draws, on the 0..32767 scale its rules are written for.
#pragma once

// One draw from 0 to 32767 inclusive, taken from the seeded rand() whatever its RAND_MAX.
int randomDraw();

// trunc(randomDraw() * n / 32767.0): 0 to n inclusive, n only for the top draw.
int randomInt(int n);
