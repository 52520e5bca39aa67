// The run's configuration: the first command-line argument and the player's name.
#pragma once

#include "core/Singleton.h"

#include <map>
#include <string>

class Conf : public Singleton<Conf> {
public:
    // What the CONFFILE argument was.
    enum Kind { DEFINITIONS = 0, ACTIONS = 1, BULLETML = 2 };

    // Reads the first argument: "--help" and "--version" end the program here by design;
    // a CONFFILE without a dot fails with an exception that is not a std::runtime_error;
    // an unknown extension fails with "<arg>: can't understand.".
    Conf(int argc, char** argv);

    // White and black partner pairs placed when a match starts; nothing changes it.
    static constexpr int DEFAULT_START_PAIRS = 1;

    int startPairs = DEFAULT_START_PAIRS;
    std::string playerName;
    std::map<int, std::string> enemyDefinitions;
    std::map<int, std::string> globalDefinitions;
    int firstGlobal = 0;
    int confKind = ACTIONS;

    // The usage text, as written for --help.
    static const char* usage();
};
