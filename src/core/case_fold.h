#pragma once

#include <string>
#include <string_view>

// Comparing what people type without regard to case: "Über" finds "über".
namespace tellurix {

// The character's simple case folding (one character for one) for ASCII,
// Latin-1, Latin Extended-A and Additional, modern Greek and Cyrillic; every
// other character stays as it is. "ß" stays "ß": it does not become "ss".
char32_t foldCase(char32_t character);
// The text with every character folded; malformed UTF-8 folds A-Z only and
// keeps its other bytes.
std::string foldCase(std::string_view utf8);

}  // namespace tellurix
