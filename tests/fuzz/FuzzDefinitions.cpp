// Fuzzes the definitions file reader as the game reaches it, through a ".conf" argument.
#include "FuzzSupport.h"
#include "core/Conf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static char program[] = "skelvo", file[] = "fuzz.conf";
    static char* argv[] = {program, file, nullptr};
    return readInput(file, data, size, [] { Conf conf(2, argv); });
}
