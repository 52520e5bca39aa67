// Marks a field object that a player can graze, and remembers that it has been grazed.
#pragma once

class Buzzable {
public:
    // Each object yields at most one graze.
    bool buzzed = false;

protected:
    // Objects are owned and deleted as Charactors, never through this part.
    ~Buzzable() = default;
};
