// Everything that moves on the field: position, velocity, picture, colour, the boundary rule,
// the proximity test and the double-dispatch collision protocol.
#pragma once

#include "display/Point.h"
#include "objects/Sprite.h"

#include <memory>

class Enemy;
class MainWindow;
class Player;
class Shot;
class Window;

class Charactor {
public:
    // `c` is the centre. With an image the object gets its sprite and `pos`, its top-left
    // corner, follows from the image's size; without one the subclass places it.
    Charactor(const Point& c, Window* image, int color);
    virtual ~Charactor();
    Charactor(const Charactor&) = delete;
    Charactor& operator=(const Charactor&) = delete;

    // First half of the collision protocol: tells `other` what hit it by calling the
    // hitBy... operation that names this object's kind. Does nothing by default.
    virtual void hit(Charactor& other);
    // Second half: the rule of this object meeting a player, an enemy or a shot. Called
    // for objects still in the lists even when dead. Do nothing by default.
    virtual void hitByPlayer(Player& player);
    virtual void hitByEnemy(Enemy& enemy);
    virtual void hitByShot(Shot& shot);

    // True when the centres, truncated to whole pixels, lie strictly less than 20 pixels
    // apart. Also the graze radius.
    bool isNear(const Charactor& other) const;

    // End of the frame's movement: a dyeing object dies once its centre leaves the field;
    // any other object is pushed back inside by the bounds of its own size.
    virtual void checkField();
    // The object's extent in pixels; the sprite image's size unless overridden.
    virtual const Point& getSize() const;
    // Marks the object for removal at the end of the frame; never deletes anything.
    virtual void vanish();
    // One frame of the object's own life: move, then draw, unless overridden.
    virtual void update();
    // Advances `pos` by `vel` over the frame's length and keeps `center` in step.
    virtual void move();
    // Puts the sprite on the screen and, for a dyeing object, its dye on the canvas.
    virtual void draw();

    // Recomputes `center` after `pos` was changed from outside `move`.
    void updateCenter();
    // A dyeing object's share of dye for this frame: it saves up its colour's rate and stamps
    // once a stamp's worth is saved, or sooner once it has moved half a stamp's width since
    // its last stamp, so a fast object leaves no gaps between stamps at a low frame rate.
    void dye();

    Point pos;
    Point vel;
    Point center;
    std::unique_ptr<Sprite> sprite;
    bool alive = true;
    MainWindow* window;  // not owned
    // Set by each subclass: dyeing objects stamp the canvas, die at the field's edge and can
    // be eaten or grazed; the others are clamped and can only kill.
    bool dyeing = false;
    int color;
    // Dye owed to the canvas, in alpha units, and where the last stamp went.
    int dyeCredit;
    Point lastStamp;
};
