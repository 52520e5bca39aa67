// An Art: a character's special ability, bought with buzz, that runs for a while or for one
// moment and acts on its owner, the opponent, the bullets or the canvas.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

class MainWindow;
class Player;

class Art {
public:
    virtual ~Art();
    Art(const Art&) = delete;
    Art& operator=(const Art&) = delete;

    // Begins the effect. Runs once, right after the Art is made, with owner and window set
    // and the duration at 0; an Art that lasts sets its own duration here.
    virtual void start() = 0;
    // Once per frame while the Art is held, from the frame it was bought in to its last one.
    // Does nothing by default.
    virtual void frame();
    // Once, after the last frame; undoes what start did. Not run when the Art is deleted
    // with its owner. Does nothing by default.
    virtual void finish();
    // The text the player select shows for this Art.
    virtual const std::string& description() const = 0;

    // The Art ends once the game clock has passed now + ms.
    void setDuration(Uint32 ms);
    bool hasEnded() const;
    // The owner's per-frame call: frame, and once ended, the owner's normal look and finish.
    // The owner deletes the Art when it has ended.
    void tick();

    MainWindow* window = nullptr;  // not owned
    Player* owner = nullptr;       // not owned
    Uint32 endTime = 0;

protected:
    Art() = default;
    // The objects of colour c that Arts clear or pull: its shots and its dyeing enemies.
    static void vanishAll(int c);
};

// The Art of the owner's Art colour at level 1, 2 or 3, started, after a one-frame flash of
// the whole screen in that colour; the owner is drawn tinted from now on. Throws
// std::out_of_range for a colour outside 0..5 or a level outside 1..3.
std::unique_ptr<Art> createArt(Player& owner, int level, MainWindow* window);
