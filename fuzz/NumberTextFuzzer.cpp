// The number text rules on arbitrary input, against the plain reference
// implementations: the bytes as text for the reading rule and the strict
// conversion; the bytes as a double, and the value they read as, for the
// display format with every pattern and for the general form.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/NumberText.h"
#include "tape/Recalculate.h"
#include "tests/support/Invariants.h"
#include "tests/support/Reference.h"

namespace tallyroll {
namespace {

[[noreturn]] void Fail(const std::string& what, double v) {
    char value[64];
    std::snprintf(value, sizeof value, "%.17g", v);
    std::fprintf(stderr, "number text: %s (value %s)\n", what.c_str(), value);
    std::abort();
}

void CheckReading(std::string_view text) {
    const ReadResult got = ReadNumber(text);
    const ReadResult want = reference::Read(text);
    if (got.overflow != want.overflow || got.value != want.value)
        Fail("ReadNumber differs", got.value);
    const auto strict = StrictNumber(text);
    if (strict != reference::Strict(text)) Fail("StrictNumber differs", strict.value_or(0));
    // The reading rule reads whatever the strict conversion accepts, alike.
    if (strict && (got.overflow || got.value != *strict)) Fail("the two readers disagree", *strict);
}

void CheckFormatting(double v) {
    for (int n = 0; n <= 6; ++n) {
        const std::string text = FormatNumber(v, PatternFor(n));
        if (text != reference::Format(v, n))
            Fail("FormatNumber wrote " + text + " with " + PatternFor(n), v);
        if (!IsFormattedNumber(text) || HasForbiddenText(text))
            Fail("not a display number: " + text, v);
        if (!std::isfinite(v)) continue;
        // Read back, the text is v rounded to 15 digits and then to n places.
        const auto back = StrictNumber(text);
        if (!back) {
            if (std::fabs(v) < 1.7976931348623e308) Fail("formatted text unreadable: " + text, v);
            continue;
        }
        const long double error = std::fabs(static_cast<long double>(*back) - v);
        const long double bound =
            0.5L * std::pow(10.0L, -n) + std::fabs(static_cast<long double>(v)) * 1e-14L;
        if (error > bound) Fail("formatted text " + text + " is too far from the value", v);
    }
    const std::string general = FormatGeneral(v);
    if (!IsGeneralNumber(general) || HasForbiddenText(general))
        Fail("not a general number: " + general, v);
    if (!std::isfinite(v)) return;
    char digits[64];
    std::snprintf(digits, sizeof digits, "%.14e", v);
    const double fifteen = std::strtod(digits, nullptr);
    const ReadResult back = ReadNumber(general);
    if (std::isinf(fifteen) ? !back.overflow : back.value != fifteen)
        Fail("the general form " + general + " is not the 15-digit value", v);
}

}  // namespace
}  // namespace tallyroll

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallyroll;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckReading(text);
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        CheckFormatting(v);
    }
    // Values typed as text reach the formats with their halves and long tails.
    CheckFormatting(ReadNumber(text).value);
    return 0;
}
