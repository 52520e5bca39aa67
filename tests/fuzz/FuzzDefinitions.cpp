// Fuzzes the definitions file reader behind a ".conf" argument.
#include "FuzzSupport.h"
#include "core/Conf.h"
#include "core/InputFile.h"
#include "script/Definitions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static char* argv[] = {nullptr};
    return readInput("fuzz.conf", data, size, [] {
        Conf conf(0, argv);
        InputFile in("fuzz.conf");
        readDefinitions(conf, in);
    });
}
