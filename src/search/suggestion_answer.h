#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A suggestion source's answer in the OpenSearch suggestions format:
// ["term", ["one", "two", ...], ...].
namespace tellurix {

inline constexpr std::size_t kMaxSuggestionAnswerBytes = 64 * 1024;

// The strings of the answer's second element that can be rows (see
// isSuggestionLine), in order; whatever follows the second element is
// ignored. Nothing when the body is not in the format: not JSON, not an array
// of a string and an array, or larger than 64 KB. `contentType` is the
// answer's Content-Type header: a body in ISO-8859-1 or Windows-1252 is read
// as such, any other as UTF-8.
std::optional<std::vector<std::string>> parseSuggestionAnswer(std::string_view body, std::string_view contentType = {});

}  // namespace tellurix
