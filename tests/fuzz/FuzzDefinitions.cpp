// Fuzzes the definitions file reader behind a ".conf" argument.
#include "FuzzSupport.h"
#include "core/Conf.h"
#include "core/InputFile.h"
#include "script/Definitions.h"

#include <cstdint>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzDir();
    static char program[] = "skelvo";
    static char* argv[] = {program, nullptr};
    static Conf conf(1, argv);
    conf.enemyDefinitions.clear();
    conf.globalDefinitions.clear();
    writeInput("fuzz.conf", data, size);
    InputFile in("fuzz.conf");
    try {
        readDefinitions(conf, in);
    } catch (const std::runtime_error&) {
    }
    return 0;
}
