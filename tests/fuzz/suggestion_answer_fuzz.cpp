// Feeds arbitrary bytes to the parser of suggestion answers, as if a source
// had sent them, and checks that only rows fit for the list come out.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "require.h"
#include "core/case_fold.h"
#include "core/text.h"
#include "search/suggestion_answer.h"
#include "search/suggestion_rows.h"

namespace {

// The characters of well-formed UTF-8, decoded here independently of the
// program's own rules; nothing when the text is malformed.
std::optional<std::vector<char32_t>> decode(std::string_view text)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return std::nullopt;
        out.push_back(c);
        i += length;
    }
    return out;
}

void requireRow(std::string_view row)
{
    const std::optional<std::vector<char32_t>> characters = decode(row);
    require(characters.has_value(), "a row is well-formed UTF-8");
    require(!characters->empty() && characters->size() <= 500, "a row has 1 to 500 characters");
    for (const char32_t c : *characters)
        require(c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F) && c != 0x2028 && c != 0x2029,
                "a row is one line without control characters");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte chooses the header the answer came with.
    constexpr std::string_view kContentTypes[] = {"", "application/json; charset=utf-8",
                                                  "text/javascript; charset=ISO-8859-1"};
    const std::string_view contentType = kContentTypes[data[0] % 3];
    const std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::optional<std::vector<std::string>> rows = tellurix::parseSuggestionAnswer(body, contentType);
    if (rows) {
        require(body.size() <= tellurix::kMaxSuggestionAnswerBytes, "no answer over 64 KB");
        for (const std::string& row : *rows)
            requireRow(row);
        const std::vector<std::string> history = {std::string(body.substr(0, 600))};
        const auto shown = tellurix::suggestionRows(body.substr(0, 3), history, *rows);
        require(shown.size() <= tellurix::kMaxSuggestionRows, "at most 8 rows");
        for (const tellurix::SuggestionRow& row : shown)
            requireRow(row.text);
    }
    // Folding keeps every character a character.
    if (tellurix::isValidUtf8(body))
        require(tellurix::codePointCount(tellurix::foldCase(body)) == tellurix::codePointCount(body),
                "folding keeps the number of characters");
    return 0;
}
