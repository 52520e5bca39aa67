// The game's random draws.
#include "core/Random.h"

#include <cstdlib>

int randomDraw() {
    // Scaling keeps every draw of rand() in play and lands exactly on 0..32767.
    return static_cast<int>(static_cast<long long>(std::rand()) * 32768LL /
                            (static_cast<long long>(RAND_MAX) + 1LL));
}

int randomInt(int n) { return static_cast<int>(randomDraw() * n / 32767.0); }
