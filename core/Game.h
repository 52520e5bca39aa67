// The game: owns everything a match needs and runs start-up, the front end and the matches.
#pragma once

#include "core/Singleton.h"
#include "script/ActionLibrary.h"

#include <SDL.h>

#include <array>
#include <cstddef>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class BulletMLState;
class BuzzEffect;
class Charactor;
class Enemy;
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
    // Shots and enemies together never exceed this: a pattern whose bullets multiply each
    // generation (which no check of the document can see) meets a full field and fires
    // nothing more, so memory and the frame's work stay bounded.
    static constexpr std::size_t kMaxBullets = 10000;
    // The BulletML work of one frame over all runners, in the measure Enemy::step gives:
    // once it is spent, the remaining enemies' pattern steps wait for the next frame, which
    // starts with them. However a document is written and however many runners there are,
    // a frame stays short; the shipped patterns never come near it.
    static constexpr long kPatternWorkPerFrame = 20000;
    // The partners a match starts with, centred at these points plus (0, 10 i) for pair i.
    static constexpr double kWhiteStartX = 155.0;
    static constexpr double kBlackStartX = 145.0;
    static constexpr double kStartY = 100.0;
    static constexpr double kStartPairSpacing = 10.0;
    // The dye a dyeing object owes the canvas each frame, in alpha units: white 4, black 2.
    // A 5-6-5 canvas shows no stamp that faint (SDL keeps 5 bits of a surface's alpha, and
    // one such step rounds away), so the dye is saved up and stamped at kDyeStampAlpha, a
    // multiple of 8 that SDL keeps whole: white stamps every 8th frame, black every 16th.
    static constexpr int kDyeRate[2] = {4, 2};
    static constexpr int kDyeStampAlpha = 32;

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

    // A match as play() runs it, for play() itself and for anything that runs matches on a
    // clock of its own (tests, benchmarks, reports): startMatch with the clock at `now`, then
    // runFrame with each later tick until matchOver.
    // The clock starts at `now`, the start partners are placed and everything is drawn once.
    void startMatch(Uint32 now);
    // One frame whose tick is `now` (later than lastTicks): the clock, then every step from
    // the players' control to the events.
    void runFrame(Uint32 now);

    // The steps of a match, in the order play() runs them. Each is callable on its own, so a
    // frame can be run without the clock by setting lastTicks and frameSeconds first.
    // A white and a black partner for every start pair, playing the default list; none when
    // the command line gave a definitions file.
    void spawnInitialEnemies();
    // The frame clock at tick `now`: frameSeconds, lastTicks and frameCount.
    void tick(Uint32 now);
    void controlPlayers();
    // Every enemy's pattern step in list order, bullets fired during the walk included, as
    // far as the frame's budget goes; a walk cut short goes on from there in the next frame
    // and round to where it started.
    void thinkEnemies();
    void drawLives();
    void updateAll();
    void collide();
    void sweep();
    void pollEvents();
    // Spins until SDL's millisecond tick differs from lastTicks and gives it: the only reader
    // of SDL's ticks during a match.
    Uint32 waitForTick() const;
    // After the match and after each menu choice: waits until the first input lets go of
    // every button. A held direction chooses nothing, so it does not keep the game waiting.
    void waitRelease();
    // Then waits for its choice: 0 for the menu (button 0 or 1), non-zero to end the program
    // (button 3, or the window closed).
    int waitDecision();

    // The line written after a match, such as "57fps".
    static std::string fpsLine(int frames, Uint32 startTicks, Uint32 endTicks);

    // Operations for the field objects; c is a side colour, 0 white or 1 black.
    // A new shot centred at `center`, flying at `vel` pixels per second.
    Shot& addShot(const Point& center, const Point& vel, int c);
    // A new bullet with actions running the state, drawn as a bullet that can fire or not
    // by what its actions hold; appended, so it plays in the walk that fired it.
    Enemy& addBulletEnemy(const Point& center, const Point& vel,
                          std::unique_ptr<BulletMLState> state, int c);
    // A new partner of colour c playing the default list, at a random place in
    // 50..250 x 50..150; it goes to the front of the enemies.
    Enemy& addPartner(int c);
    // False once shots and enemies together reach kMaxBullets.
    bool hasRoomForBullet() const { return shots.size() + enemies.size() < kMaxBullets; }
    void addBuzzEffect(std::unique_ptr<BuzzEffect> effect);
    // Every partner of colour c plays from the list of that level (clamped to 0..10) from
    // its next pattern on.
    void setLevel(int c, int level);
    // Appends the enemies of colour c that do not dye: the partners, in list order.
    void collectStillEnemies(int c, std::vector<Enemy*>& out) const;
    // Appends the objects of colour c that a player can eat: its shots, then its dyeing
    // enemies.
    void collect(int c, std::vector<Charactor*>& out) const;
    // Appends (centre, velocity) of every enemy, then every shot, not of colour c whose
    // top-left corner lies less than 100 pixels from p.
    void collectThreats(std::vector<std::pair<Point, Point>>& out, int c, const Point& p) const;
    // Marks the canvas with colour c's dye at pos (truncated); the mark lasts until reset().
    void stampDye(const Point& pos, int c);
    // Where a new object's dye credit starts: consecutive objects start one alpha unit apart,
    // so a burst of bullets takes turns to stamp instead of stamping all in the same frame.
    int firstDyeCredit() { return static_cast<int>(objectsMade++ % kDyeStampAlpha); }

    std::unique_ptr<MainWindow> window;

    // Index 0 is white, the first player; 1 is black, the second.
    std::array<std::unique_ptr<Player>, 2> players;
    // Partners at the front (added ones first), bullets with actions behind in firing order.
    std::list<std::unique_ptr<Enemy>> enemies;
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
    // The pattern work of the current frame's walk so far.
    long patternWork = 0;
    // Field objects made so far: their dye credits start apart.
    unsigned objectsMade = 0;

    // The first from "1Pkey.conf"; the second is made for each match by the front end.
    std::array<std::unique_ptr<MSDL::InputBase>, 2> inputs;
    // The thirteen action lists, loaded at start-up.
    ActionLibrary actions;
    std::unique_ptr<Info> info;
    // Outlives the inputs, whose joystick sources it owns.
    std::unique_ptr<MSDL::JoystickMgr> joysticks;

private:
    using EnemyList = std::list<std::unique_ptr<Enemy>>;

    // Both players' turn at an object: each that is near hits it and is hit back.
    void meetPlayers(Charactor& object);

    void openWindow();
    void loadImages();
    // The second side's device for the chosen mode, made anew for every match.
    std::unique_ptr<MSDL::InputBase> makeSecondInput(bool vsCpu) const;
    // The side's halo with the ball tinted in its Art colour, and that ball as its life icon.
    void makePlayerPicture(int side, int artColor);
    // Steps the enemies from `from` up to `to`, the list's end read afresh at every step; the
    // enemy where the budget ran out, or `to`.
    EnemyList::iterator walkEnemies(EnemyList::iterator from, EnemyList::iterator to);

    // Where the next walk starts: the list's end (which stays valid), unless the budget cut the
    // last walk short; the sweep moves it past the dead and reset() back to the end.
    EnemyList::iterator resume_ = enemies.end();
};
