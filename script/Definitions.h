// The definitions file: "Enemy", "Global" and "FirstGlobal" lines read into the configuration.
#pragma once

class Conf;
class InputFile;

// Fills the definition tables of `conf` from `in` (nothing from a file that is not open); a
// repeated id fails with "Enemy: same IDs!\n" or "Global: same IDs!\n", a line of more than 255
// characters with "PATH: line N is longer than 255 characters".
void readDefinitions(Conf& conf, InputFile& in);
