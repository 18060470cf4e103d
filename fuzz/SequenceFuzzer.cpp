// Key-and-click sessions: every input byte is one action of a person at the
// calculator window; any broken invariant aborts with the action that broke it.
// TALLYROLL_FUZZ_TRACE=1 prints the session as tallyroll-script commands.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/ActionSequence.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool trace = std::getenv("TALLYROLL_FUZZ_TRACE") != nullptr;
    const tallyroll::SequenceOutcome out = tallyroll::RunActionSequence({data, size}, trace);
    if (trace) std::fprintf(stderr, "%s", out.trace.c_str());
    if (!out.failure.empty()) {
        std::fprintf(stderr, "invariant violated: %s\n", out.failure.c_str());
        std::abort();
    }
    return 0;
}
