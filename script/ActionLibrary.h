// The thirteen action lists the game loads at start-up, and which of them enemies get.
#pragma once

#include "script/ActionList.h"

#include <array>
#include <memory>

class ActionLibrary {
public:
    static constexpr int kSlots = 13;
    static constexpr int kFirstLevelSlot = 2;  // slot 2 + n holds act.d/act-n.act
    static constexpr int kMaxLevel = 10;
    static constexpr int kDefaultLevel = 5;

    ActionLibrary() = default;
    ActionLibrary(const ActionLibrary&) = delete;
    ActionLibrary& operator=(const ActionLibrary&) = delete;

    // The file slot i is loaded from, relative to the working directory: "bosses.act",
    // "bosses.act.hard", then "act.d/act-0.act" to "act.d/act-10.act".
    static std::string fileName(int slot);

    // Loads every slot in order, replacing lists loaded before; the first failure is thrown
    // (ActionList's errors) and leaves the slots loaded so far in place.
    void load();

    // The list of act-5, which partners start with; null before load().
    ActionList* defaultList() const { return listForLevel(kDefaultLevel); }
    // The list of act-n, with n below 0 counting as 0 and above 10 as 10; null before load().
    ActionList* listForLevel(int level) const;
    // Any slot (0 to kSlots - 1); null before load().
    ActionList* slot(int i) const { return slots_.at(static_cast<std::size_t>(i)).get(); }

private:
    std::array<std::unique_ptr<ActionList>, kSlots> slots_;
};
