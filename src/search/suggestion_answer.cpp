#include "search/suggestion_answer.h"

#include <cjson/cJSON.h>

#include <memory>

#include "core/text.h"
#include "search/suggestion_rows.h"

namespace tellurix {
namespace {

struct JsonDeleter {
    void operator()(cJSON* json) const { cJSON_Delete(json); }
};
using UniqueJson = std::unique_ptr<cJSON, JsonDeleter>;

bool isJsonBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The charset named by a Content-Type header, in lower case; empty when none.
std::string charsetOf(std::string_view contentType)
{
    const std::string lower = foldAsciiCase(contentType);
    const std::size_t at = lower.find("charset=");
    if (at == std::string::npos)
        return {};
    std::string_view value = std::string_view(lower).substr(at + 8);
    value = value.substr(0, value.find_first_of("; \t"));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// The body as UTF-8: sources that answer in Latin-1 say so in the header
// (browsers read that label as Windows-1252, and so does this).
std::string utf8Body(std::string_view body, std::string_view contentType)
{
    const std::string charset = charsetOf(contentType);
    if (charset == "iso-8859-1" || charset == "latin1" || charset == "iso8859-1" || charset == "windows-1252" ||
        charset == "cp1252")
        return windows1252ToUtf8(body);
    return std::string(body);
}

// cJSON hands out strings as C strings: a \u0000 escape would cut one short
// unseen. Each such escape becomes \u0001, which no row may hold, so the
// string is left out as a whole. (A backslash outside a string is no JSON
// anyway, so pairing backslashes from the start is right.)
void markNulEscapes(std::string& json)
{
    for (std::size_t i = 0; i + 1 < json.size(); ++i) {
        if (json[i] != '\\')
            continue;
        if (json[i + 1] == 'u' && json.compare(i + 2, 4, "0000") == 0)
            json[i + 5] = '1';
        ++i;
    }
}

}  // namespace

std::optional<std::vector<std::string>> parseSuggestionAnswer(std::string_view body, std::string_view contentType)
{
    // A NUL byte is no JSON, and cJSON would end a string at it.
    if (body.size() > kMaxSuggestionAnswerBytes || body.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string json = utf8Body(body, contentType);
    markNulEscapes(json);

    const char* end = nullptr;
    const UniqueJson root(cJSON_ParseWithLengthOpts(json.data(), json.size(), &end, false));
    if (!root || !end)
        return std::nullopt;
    // Only blanks may follow the answer.
    for (const char* rest = end; rest < json.data() + json.size(); ++rest)
        if (!isJsonBlank(*rest))
            return std::nullopt;

    if (!cJSON_IsArray(root.get()))
        return std::nullopt;
    const cJSON* term = cJSON_GetArrayItem(root.get(), 0);
    const cJSON* suggestions = cJSON_GetArrayItem(root.get(), 1);
    if (!cJSON_IsString(term) || !cJSON_IsArray(suggestions))
        return std::nullopt;

    std::vector<std::string> rows;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, suggestions)
    {
        if (cJSON_IsString(item) && item->valuestring && isSuggestionLine(item->valuestring))
            rows.emplace_back(item->valuestring);
    }
    return rows;
}

}  // namespace tellurix
