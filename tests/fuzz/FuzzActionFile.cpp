// Fuzzes the action file reader; its document lines may name two small documents that exist.
#include "FuzzSupport.h"
#include "script/ActionList.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace {

const char DOCUMENT[] =
    "<?xml version=\"1.0\" ?>\n<bulletml>\n<action label=\"top\">\n"
    "<fire><direction type=\"aim\">0</direction><bullet/></fire>\n<wait>10</wait>\n"
    "</action>\n</bulletml>\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool documents = [] {
        for (const char* name : {"a.xml", "b.xml"}) std::ofstream(fuzzDir() + "/" + name) << DOCUMENT;
        return true;
    }();
    (void)documents;
    writeInput("fuzz.act", data, size);
    try {
        ActionList list("fuzz.act");
        list.rewind();
        for (std::size_t i = 0; i < 2 * list.size() + 1; ++i) {
            BulletMLParser* next = list.next();
            if (list.size() == 0 ? next != nullptr : next == nullptr) std::abort();
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
