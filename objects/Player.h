// A player on the field: steered by its device, eats its own colour, grazes and dodges the
// other, spends its gauges on Arts and levels, and loses lives until the other side wins.
#pragma once

#include "objects/Charactor.h"

#include <SDL.h>

#include <memory>

class Art;
namespace MSDL {
class InputBase;
}  // namespace MSDL

class Player : public Charactor {
public:
    static constexpr int kMaxEatings = 500;
    static constexpr int kMaxBuzz = 100;
    static constexpr int kTopLevel = 10;
    static constexpr int kStartLevel = 5;
    static constexpr int kStartEatings = 400;
    // Pixels per second, and while the slow button is held.
    static constexpr double kSpeed = 150.0;
    static constexpr double kSlowSpeed = 75.0;
    // An opposing centre closer than this kills.
    static constexpr double kFatalDistance = 2.0;
    // How long a player that lost a life cannot die again, in milliseconds.
    static constexpr Uint32 kInvincibleTime = 3000;
    // The device's buttons a player reads.
    static constexpr int kSlowButton = 0;
    static constexpr int kArtButton = 1;
    static constexpr int kEndButton = 3;

    // `input` is the device that steers it (not owned; it must outlive the player).
    // `artColor` is the index of the chosen character's Art colour (0..5). Needs Game's
    // first player picture, which its Art look is tinted from.
    Player(const Point& center, Window* image, MSDL::InputBase* input, int color, int artColor,
           int lives);
    ~Player() override;

    // The player's own part of a frame, run before the enemies think: the end of
    // invincibility, control by its device, the running Art's tick, the two gauges.
    void step();

    // Tells `other` that a player touched it.
    void hit(Charactor& other) override;
    // What an enemy or a shot that came near does to this player: a partner can only kill;
    // its own colour is eaten (or flipped); the other colour kills, or is absorbed, flipped
    // or grazed once.
    void hitByEnemy(Enemy& enemy) override;
    void hitByShot(Shot& shot) override;
    // Death: a spare life is lost and the threatening colour cleared, or, with none left,
    // the other side is announced the winner and the match ends. The player stays alive.
    void vanish() override;
    // The opponent's auras act first when the two are near: held still, pushed or killed.
    void move() override;

    // The field's size less the player's own: the range its top-left corner may take.
    Point moveRange() const;
    // The rank the player's partners play at, as BulletML's $rank: 1 under maxRank, else
    // the stored rank with the ends snapped to exactly 0 and 1.
    double currentRank() const;
    // Raising slows as the rank grows: `amount` counts less above 0.3 and again above 0.5.
    void raiseRank(double amount);
    // Sets the eatings to 5 n, kept within 0..500.
    void setEatings(int n);
    Player& opponent() const;

    // Spends buzz on the Art its level affords, unless one is running.
    void useArt();
    // A spark to the player, and unless maxRank holds, rank and eatings.
    void eat(Charactor& x);
    // Sends x away from the player, half as fast again.
    void flip(Charactor& x);

    // While an Art runs the player is drawn with its tinted picture, not blinking.
    void beginArtLook();
    void endArtLook();

    // Canvas marks in the side colour, shared by the death rule and the Blue Arts: the square
    // of 201 x 201 pixels centred on the player, and the whole field washed half-way.
    void dyeSquare();
    void washCanvas();

    MSDL::InputBase* input;  // not owned
    int artColor;
    int lives;
    // Own bullets eaten, 0 to 500; a full gauge buys a change of level.
    int eatings = kStartEatings;
    // Grazes, 0 to 100; spent on Arts.
    int buzz = 0;
    // The tick up to which the player cannot die; 0 when it can.
    Uint32 invincibleUntil = 0;
    // 0 to 10: which action lists its partners play.
    int level = kStartLevel;
    // 0 to 1; raised by eating and grazing.
    double rank = 0.0;
    // Set while the Art button is held, so that one press acts once.
    int artLatch = 0;
    std::unique_ptr<Art> art;
    std::unique_ptr<Window> artImage;
    // The normal look, set aside while an Art runs.
    std::unique_ptr<Sprite> savedSprite;
    // Set by Arts; the rules that read them are the player's own and its opponent's.
    bool letsOpponentMove = true;
    bool pushAura = false;
    bool killAura = false;
    bool absorbAura = false;
    bool flipAura = false;
    bool flipOwnAura = false;
    bool maxRank = false;

private:
    void control();
    void pressArt(bool slow);
    void raiseLevel();
    void lowerLevel();
    void hitBy(Charactor& x);
    // Kills the player when x's centre is close enough and no guard holds; true if it did.
    bool isFatal(Charactor& x);
    void graze(Charactor& x);
    void loseLife();
    void setBlink(bool on);
    // Drawing of the level raise and of the last death.
    void flash();
    void announceWinner();
};
