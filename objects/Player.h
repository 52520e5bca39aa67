// A player on the field: moves, is drawn and stays inside the field. Its rules (control,
// gauges, eating, grazing, death and Arts) live in the hit and step operations.
#pragma once

#include "objects/Charactor.h"

class Player : public Charactor {
public:
    // `artColor` is the index of the chosen character's Art colour (0..5).
    Player(const Point& center, Window* image, int color, int artColor, int lives);

    // The player's own part of a frame, run before the enemies think.
    void step();

    // Tells `other` that a player touched it.
    void hit(Charactor& other) override;
    // What an enemy or a shot that came near does to this player.
    void hitByEnemy(Enemy& enemy) override;
    void hitByShot(Shot& shot) override;

    // The field's size less the player's own: the range its top-left corner may take.
    Point moveRange() const;
    // The rank the player's partners play at, as BulletML's $rank: the stored rank with the
    // ends snapped to exactly 0 and 1.
    double currentRank() const;

    int artColor;
    int lives;
    // Own bullets eaten, 0 to 500; a full gauge buys a change of level.
    int eatings = 400;
    // Grazes, 0 to 100; spent on Arts.
    int buzz = 0;
    // Set while the Art button is held, so that one press acts once.
    int artLatch = 0;
    // 0 to 1; raised by eating and grazing.
    double rank = 0.0;
};
