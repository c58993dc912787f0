// libFuzzer target: arbitrary bytes as a holdings code and as the holdings' JSON.
// - A code either fails with one of the code's three messages or decodes to holdings
//   whose code is the input without its blanks (each holdings has exactly one code).
// - A JSON text either fails with an EHoldingsError or reads as holdings that write and
//   read back as themselves, as JSON and as a code. Any other exception aborts.
// Random letters almost never carry right check letters, so each input made of code
// letters is also tried with its last four letters replaced by the right ones: that
// reaches every list of the code behind the check.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/holdings_text.h"
#include "simulator/code_letters.h"
#include "simulator/holdings_code.h"

namespace {

constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

void Require(bool ok, const char* what, std::string_view input) {
    if (!ok) {
        std::fprintf(stderr, "%s: \"%.*s\"\n", what, static_cast<int>(input.size()), input.data());
        std::abort();
    }
}

void CheckCode(std::string_view code) {
    THoldings holdings;
    try {
        holdings = DecodeHoldings(code);
    } catch (const EHoldingsError& error) {
        const std::string_view message = error.what();
        Require(message == kHoldingsCodeDamaged || message == kHoldingsCodeUnknownVersion ||
                    message == kNoHoldingsCode,
                "a code failed with another message", code);
        return;
    }
    Require(EncodeHoldings(holdings) == code_letters::Trimmed(code),
            "decoded holdings have another code", code);
    Require(HoldingsFromJson(HoldingsJson(holdings)) == holdings,
            "decoded holdings read back from JSON as others", code);
}

void CheckJson(std::string_view text) {
    THoldings holdings;
    try {
        holdings = HoldingsFromJson(text);
    } catch (const EHoldingsError&) {
        return;
    }
    Require(HoldingsFromJson(HoldingsJson(holdings)) == holdings,
            "holdings read from JSON write back as others", text);
    Require(DecodeHoldings(EncodeHoldings(holdings)) == holdings,
            "holdings read from JSON have a code of others", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckCode(text);
    CheckJson(text);
    constexpr size_t kCheck = code_letters::kCheckLetters;
    if (size > kCheck && text.find_first_not_of(kLetters) == std::string_view::npos) {
        const std::string_view body = text.substr(0, size - kCheck);
        CheckCode(std::string(body) + code_letters::CheckLetters(body));
    }
    return 0;
}
