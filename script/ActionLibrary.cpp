// The thirteen action lists the game loads at start-up, and which of them enemies get.
#include "script/ActionLibrary.h"

#include <algorithm>

std::string ActionLibrary::fileName(int slot) {
    if (slot == 0) return "bosses.act";
    if (slot == 1) return "bosses.act.hard";
    return "act.d/act-" + std::to_string(slot - kFirstLevelSlot) + ".act";
}

void ActionLibrary::load() {
    for (int i = 0; i < kSlots; ++i) slots_[static_cast<std::size_t>(i)] = std::make_unique<ActionList>(fileName(i));
}

ActionList* ActionLibrary::listForLevel(int level) const {
    return slot(kFirstLevelSlot + std::clamp(level, 0, kMaxLevel));
}
