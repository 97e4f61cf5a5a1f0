// The live link's request parser on arbitrary bytes from a client: either a
// request within its bounds, or a refusal that says why.
#include "fuzz_support.h"
#include "link_protocol.h"

using namespace ts;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const LinkRequest r = parseLinkRequest(text);
    switch (r.kind) {
        case LinkRequest::Kind::Invalid:
            if (r.error.empty()) fuzz::fail("a refusal without a reason");
            break;
        case LinkRequest::Kind::Subscribe:
            if (r.every < 1 || r.every > 600) fuzz::fail("a rate beyond its bounds");
            if (r.fields.size() > 64) fuzz::fail("more fields than allowed");
            break;
        case LinkRequest::Kind::Command: {
            using K = ScriptCommand::Kind;
            const K k = r.command.kind;
            if (k != K::Start && k != K::Char && k != K::Key && k != K::Wheel && k != K::Serial)
                fuzz::fail("a command that is not a driver's input");
            break;
        }
    }
    return 0;
}
