// The computer player.
#include "input/CpuInput.h"

#include "core/Game.h"
#include "core/Random.h"
#include "input/Direction.h"
#include "objects/Player.h"

#include <cmath>

namespace {

// One frame's step at the player's speed of 150 pixels per second; the diagonals keep about
// the same length. Stay first, then up and on clockwise.
const std::array<Point, CpuInput::MOVES> MOVE_VELOCITIES = {{
    {0, 0}, {0, -150}, {106, -106}, {150, 0}, {106, 106},
    {0, 150}, {-106, 106}, {-150, 0}, {-106, -106},
}};
const std::array<int, CpuInput::MOVES> MOVE_DIRECTIONS = {
    MSDL::NONE, MSDL::UP,   MSDL::UP | MSDL::RIGHT,   MSDL::RIGHT, MSDL::DOWN | MSDL::RIGHT,
    MSDL::DOWN, MSDL::DOWN | MSDL::LEFT, MSDL::LEFT, MSDL::UP | MSDL::LEFT,
};

// A threat counts once it closes a quarter of its distance per second, and only while it
// heads within 45 degrees of the candidate.
const double QUARTER_PI = 0.7853981633974483;
const double MIN_CLOSING_RATIO = 0.25;

// Past this much danger, or this many dangerous threats, a hit is taken to be unavoidable
// anyway and not worth dodging at every price.
const double HOPELESS_DANGER = 100.0;
const int HOPELESS_THREATS = 49;
const double HIT_RADIUS = 4.0;
const double HIT_NEXT_FRAME = 1000000.0;
const double HIT_NOW = 100000.0;

// The top wall pushes four times as hard and twice as far: the computer keeps low.
const double WALL_REACH = 100.0;
const double WALL_WEIGHT = 10.0;
const double TOP_WALL_REACH = 200.0;
const double TOP_WALL_WEIGHT = 40.0;

const double STAY_BONUS = 0.95;

// About one frame in 700 starts a spell of 10 to 30 careless frames.
const int CARELESS_DRAW = 10000;
const int CARELESS_ABOVE = 9985;
const int CARELESS_MIN = 10;
const int CARELESS_SPREAD = 20;

const int FULL_EATINGS_GAUGE = 99;

// Danger of the threats closing in on q; counts the ones that add to it.
double danger(const Point& q, const std::vector<CpuInput::Threat>& threats, int& counted) {
    double sum = 0.0;
    counted = 0;
    for (const auto& [p, v] : threats) {
        const double ratio = v.length() / q.distance(p);
        if (!(ratio > MIN_CLOSING_RATIO)) continue;
        const double w = QUARTER_PI - std::fabs(std::fabs(v.angle()) - std::fabs((q - p).angle()));
        if (w <= 0) continue;
        ++counted;
        sum += ratio * ratio * w * w;
    }
    return sum;
}

// The score of a threat that will be on q after the frame, or is on it now; 0 for none.
double imminentHit(const Point& q, const std::vector<CpuInput::Threat>& threats, double dt) {
    for (const auto& [p, v] : threats) {
        if (q.distance(p + v * dt) < HIT_RADIUS) return HIT_NEXT_FRAME;
        if (q.distance(p) < HIT_RADIUS) return HIT_NOW;
    }
    return 0.0;
}

double wallPush(double weight, double gap) { return weight / (gap * gap); }

double walls(const Point& q, const Point& moveRange) {
    const Point b = moveRange - q;
    double sum = 0.0;
    if (q.x < WALL_REACH) sum += wallPush(WALL_WEIGHT, q.x);
    if (q.y < TOP_WALL_REACH) sum += wallPush(TOP_WALL_WEIGHT, q.y);
    if (b.x < WALL_REACH) sum += wallPush(WALL_WEIGHT, b.x);
    if (b.y < WALL_REACH) sum += wallPush(WALL_WEIGHT, b.y);
    return sum;
}

bool inside(const Point& q, const Point& range) {
    return 0 <= q.x && q.x <= range.x && 0 <= q.y && q.y <= range.y;
}

}  // namespace

CpuInput::~CpuInput() = default;

int CpuInput::getDirection() {
    if (Game::instance()->frameCount != lastFrame) decide();
    return direction;
}

bool CpuInput::isPressed(int button) {
    const Player& p = player();
    const bool fullEatings = p.eatings / 5 > FULL_EATINGS_GAUGE;
    switch (button) {
    case 0:
        return fullEatings && randomInt(2) == 0;
    case 1:
        if (p.artLatch) return false;
        if (fullEatings) return randomInt(10) == 0;
        return buzzEnoughForArt(p.buzz);
    default:
        return false;
    }
}

std::array<Point, CpuInput::MOVES> CpuInput::candidates(const Point& c, double dt) {
    std::array<Point, MOVES> out;
    out[0] = c;
    for (int i = 1; i < MOVES; ++i) out[i] = c + MOVE_VELOCITIES[i] * dt;
    return out;
}

double CpuInput::score(const Point& q, const std::vector<Threat>& threats,
                       const Point& moveRange, double dt, bool careless) {
    int counted = 0;
    const double sum = danger(q, threats, counted);
    if (sum < HOPELESS_DANGER && counted <= HOPELESS_THREATS && !careless) {
        const double hit = imminentHit(q, threats, dt);
        if (hit > 0) return hit;
    }
    return sum + walls(q, moveRange);
}

int CpuInput::choose(const std::array<Point, MOVES>& candidates,
                     const std::vector<Threat>& threats, const Point& moveRange, double dt,
                     bool careless) {
    double best = -1.0;
    int chosen = 0;
    for (int i = 0; i < MOVES; ++i) {
        if (!inside(candidates[i], moveRange)) continue;
        double s = score(candidates[i], threats, moveRange, dt, careless);
        if (i == 0) s *= STAY_BONUS;
        if (best == -1.0 || s < best) {
            best = s;
            chosen = i;
        }
    }
    return chosen;
}

int CpuInput::directionOf(int move) { return MOVE_DIRECTIONS.at(move); }

Player& CpuInput::player() const { return *Game::instance()->players[playerIndex]; }

void CpuInput::decide() {
    const Game& game = *Game::instance();
    lastFrame = game.frameCount;
    const Player& self = player();
    const double dt = game.frameSeconds;

    std::vector<Threat> threats;
    game.collectThreats(threats, playerIndex, self.center);
    updateCareless();
    const int move =
        choose(candidates(self.center, dt), threats, self.moveRange(), dt, carelessFrames > 0);
    direction = directionOf(move);
    chooseArtPlan();
}

void CpuInput::updateCareless() {
    if (carelessFrames >= 1) {
        --carelessFrames;
        return;
    }
    if (randomInt(CARELESS_DRAW) > CARELESS_ABOVE)
        carelessFrames = randomInt(CARELESS_SPREAD) + CARELESS_MIN;
}

void CpuInput::chooseArtPlan() {
    if (artPlan == 0) artPlan = randomInt(3) + 1;
}

bool CpuInput::buzzEnoughForArt(int buzz) const {
    switch (artPlan) {
    case 1: return buzz > 30;
    case 2: return buzz > 60;
    case 3: return buzz == 100;
    default: return false;
    }
}
