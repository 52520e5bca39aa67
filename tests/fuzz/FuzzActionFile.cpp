// Fuzzes the action file reader; its document lines may name a small document that exists.
#include "FuzzSupport.h"
#include "script/ActionList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return readInput("fuzz.act", data, size, [] {
        std::ofstream("a.xml") << "<bulletml><action label=\"top\"/></bulletml>";
        ActionList list("fuzz.act");
        for (std::size_t i = 0; i < 2 * list.size() + 1; ++i)
            if ((list.next() == nullptr) != (list.size() == 0)) std::abort();
    });
}
