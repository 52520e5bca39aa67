// The game: owns everything a match needs and runs start-up, the front end and the matches.
#pragma once

#include "core/Singleton.h"
#include "script/ActionLibrary.h"

#include <SDL.h>

#include <array>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class BuzzEffect;
class Charactor;
class Info;
class MainWindow;
class Player;
class Shot;
class Window;
struct Point;
namespace MSDL {
class InputBase;
class JoystickMgr;
}  // namespace MSDL

class Game : public Singleton<Game> {
public:
    // Makes the joystick manager; touches no SDL: start-up is init()'s.
    Game();
    ~Game() override;

    // Starts SDL, opens the window (stretched when a "screen" file asks), loads the images.
    void init();
    // The front end on a cleared screen: 0 when a match is to be played, non-zero when the
    // program is to end.
    int menu();
    // The mode menu and the player select, then what the chosen match needs: the second
    // device, both players' pictures and life icons, and both players in their starting
    // places. Non-zero, with nothing replaced, when a screen was left or the window closed.
    int selectPlayers();
    // One match between the two players in place: 0 to go back to the menu, non-zero to end
    // the program.
    int play();
    // Clean-up after a match that went back to the menu: the field is emptied and its dye
    // wiped; the players stay until the next selection replaces them.
    void reset();

    // The steps of a match, in the order play() runs them. Each is callable on its own, so a
    // frame can be run without the clock by setting lastTicks and frameSeconds first.
    void spawnInitialEnemies();
    // The frame clock: spins until the millisecond tick changes. The only reader of SDL's
    // ticks during a match.
    void tick();
    // One frame after the clock: every step from the players' control to the events.
    void frame();
    void controlPlayers();
    void thinkEnemies();
    void drawLives();
    void updateAll();
    void collide();
    void sweep();
    void pollEvents();
    // After the match: waits until the first input lets go of every button.
    void waitRelease();
    // Then waits for its choice: 0 for the menu (button 0 or 1), non-zero to end the program
    // (button 3, or the window closed).
    int waitDecision();

    // The line written after a match, such as "57fps".
    static std::string fpsLine(int frames, Uint32 startTicks, Uint32 endTicks);

    // Operations for the field objects; c is a side colour, 0 white or 1 black.
    // A new shot centred at `center`, flying at `vel` pixels per second.
    Shot& addShot(const Point& center, const Point& vel, int c);
    void addBuzzEffect(std::unique_ptr<BuzzEffect> effect);
    // Appends the objects of colour c that a player can eat: its shots.
    void collect(int c, std::vector<Charactor*>& out) const;
    // Appends (centre, velocity) of every object not of colour c whose top-left corner lies
    // less than 100 pixels from p.
    void collectThreats(std::vector<std::pair<Point, Point>>& out, int c, const Point& p) const;
    // Marks the canvas with colour c's dye at pos (truncated); the mark lasts until reset().
    void stampDye(const Point& pos, int c);

    std::unique_ptr<MainWindow> window;

    // Index 0 is white, the first player; 1 is black, the second.
    std::array<std::unique_ptr<Player>, 2> players;
    std::list<std::unique_ptr<Shot>> shots;
    // Oldest first; only ever removed from the front.
    std::deque<std::unique_ptr<BuzzEffect>> buzzEffects;

    std::unique_ptr<Window> ballImage;
    std::array<std::unique_ptr<Window>, 2> haloImages;
    std::array<std::unique_ptr<Window>, 2> enemyImages;
    std::array<std::unique_ptr<Window>, 2> firingBulletImages;
    std::array<std::unique_ptr<Window>, 2> plainBulletImages;
    std::array<std::unique_ptr<Window>, 2> shotImages;
    std::array<std::unique_ptr<Window>, 2> dyeImages;
    std::array<std::unique_ptr<Window>, 2> playerImages;
    std::array<std::unique_ptr<Window>, 2> lifeIcons;

    // The game clock: only the frame clock writes these; every object reads them.
    double frameSeconds = 0.0;
    int frameCount = 0;
    Uint32 lastTicks = 0;
    Uint32 startTicks = 0;
    bool matchOver = false;
    bool quitRequested = false;

    // The first from "1Pkey.conf"; the second is made for each match by the front end.
    std::array<std::unique_ptr<MSDL::InputBase>, 2> inputs;
    // The thirteen action lists, loaded at start-up.
    ActionLibrary actions;
    std::unique_ptr<Info> info;
    // Outlives the inputs, whose joystick sources it owns.
    std::unique_ptr<MSDL::JoystickMgr> joysticks;

private:
    // Both players' turn at an object: each that is near hits it and is hit back.
    void meetPlayers(Charactor& object);

    void openWindow();
    void loadImages();
    // The second side's device for the chosen mode, made anew for every match.
    std::unique_ptr<MSDL::InputBase> makeSecondInput(bool vsCpu) const;
    // The side's halo with the ball tinted in its Art colour, and that ball as its life icon.
    void makePlayerPicture(int side, int artColor);
};
