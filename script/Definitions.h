// The definitions file: "Enemy", "Global" and "FirstGlobal" lines read into the configuration.
#pragma once

#include <istream>
#include <string>

class Conf;

// Fills the definition tables of `conf` from `in`; a repeated id fails with
// "Enemy: same IDs!\n" or "Global: same IDs!\n". `name` names the file in other errors.
void readDefinitions(Conf& conf, std::istream& in, const std::string& name);
