// An enemy: a partner that plays the patterns of its action list, or a bullet with actions.
#pragma once

#include "objects/Buzzable.h"
#include "objects/Charactor.h"

#include <SDL.h>

#include <memory>

class ActionList;
class BulletMLState;
class EnemyCommand;

class Enemy : public Charactor, public Buzzable {
public:
    // The first pattern may start this long after a partner is made, in milliseconds.
    static constexpr Uint32 kFirstWait = 1500;
    // The pause after each pattern, and after an aborted one.
    static constexpr Uint32 kPatternPause = 1000;
    // The countdown square shows during this last stretch of a wait.
    static constexpr Uint32 kCountdown = 1000;

    // A partner centred at `center`, drawing its patterns from `list` (not owned; it must
    // outlive the enemy). Rewinds the list; dyes the field when the list is Zako.
    Enemy(const Point& center, Window* image, ActionList* list, int color);
    // A bullet with actions: plays the state's actions once from its birth, then flies on
    // with its last velocity. Always dyeing.
    Enemy(const Point& center, const Point& vel, Window* image,
          std::unique_ptr<BulletMLState> state, int color);
    ~Enemy() override;

    // Tells `other` that an enemy hit it.
    void hit(Charactor& other) override;
    // A dyeing enemy touched by the player of its own colour dies; nothing else happens.
    void hitByPlayer(Player& player) override;

    // One frame of the pattern: runs the playing pattern once, or starts the next one when
    // its time has come, or shows the countdown to it. The work done, in the measure of the
    // frame's budget (Game::kPatternWorkPerFrame): one for the step, and one for each call
    // the pattern made to the game.
    long step();
    // Drops the playing pattern, if any, and waits a pause before the next.
    void abortPattern();
    // The list the following patterns come from; it is not rewound.
    void setActions(ActionList* list) { actions = list; }

    // The playing pattern; null while waiting and once a bullet's pattern has ended.
    std::unique_ptr<EnemyCommand> command;
    ActionList* actions = nullptr;  // not owned; null for bullets
    Uint32 nextStart = 0;

private:
    void startNextPattern(Uint32 now);
    // A k x k square in the enemy's colour over its centre, more opaque as k shrinks.
    void drawCountdown(Uint32 k);
};
