// The computer player: a device that steers its side by scoring the nine moves of each frame.
#pragma once

#include "display/Point.h"
#include "input/InputBase.h"

#include <array>
#include <utility>
#include <vector>

class Player;

class CpuInput : public MSDL::InputBase {
public:
    // (centre, velocity in pixels per second) of an object that can kill the steered player.
    using Threat = std::pair<Point, Point>;
    // Stay, then up and on clockwise to up-left: the order ties are broken in.
    static constexpr int MOVES = 9;

    // Steers the Game's player `playerIndex`; the front end's computer plays black.
    explicit CpuInput(int playerIndex = 1) : playerIndex(playerIndex) {}
    ~CpuInput() override;

    // The move chosen for the Game's current frame. The decision runs at most once per
    // frameCount, so asking again in the same frame gives the same answer and draws nothing.
    int getDirection() override;

    // Button 0 (spend a full eatings gauge the other way) and button 1 (start an Art, or spend
    // a full gauge) by the steered player's gauges and the art plan, partly at random; any
    // other button is never held.
    bool isPressed(int button) override;

    // Where each move leads from c in a frame of dt seconds.
    static std::array<Point, MOVES> candidates(const Point& c, double dt);

    // How bad it is to be at q after the frame, lower being better: danger from threats
    // closing in, a prohibitive score for a near-certain hit unless `careless`, and the pull
    // away from the walls of `moveRange`. Infinite on the edge of the range.
    static double score(const Point& q, const std::vector<Threat>& threats,
                        const Point& moveRange, double dt, bool careless);

    // The index of the best-scoring candidate inside moveRange, standing still being slightly
    // favoured and ties going to the lower index; 0 when none is inside.
    static int choose(const std::array<Point, MOVES>& candidates,
                      const std::vector<Threat>& threats, const Point& moveRange, double dt,
                      bool careless);

    // The direction bit set of a move index.
    static int directionOf(int move);

    // The frame the direction was last decided for.
    int lastFrame = -1;
    int direction = 0;
    // The Game's player this device steers, which is also its colour.
    int playerIndex;
    // How much buzz to wait for before an Art: 1 (31), 2 (61), 3 (100) or 4 (never);
    // 0 until the first frame.
    int artPlan = 0;
    // While positive the computer ignores imminent hits, so it is not unbeatable.
    int carelessFrames = 0;

private:
    Player& player() const;
    void decide();
    // Counts the careless spell down, or starts one now and then.
    void updateCareless();
    void chooseArtPlan();
    bool buzzEnoughForArt(int buzz) const;
};
