#pragma once

#include <string>

namespace tellurix {

// The three values the program keeps between runs.
struct Settings {
    int FPS = 0;            // 1: the first-start notice is still due
    int Design = 0;         // design number, 200..213
    std::string Suchseite;  // label of the chosen search site
};

inline constexpr int kDefaultFPS = 1;
inline constexpr int kDefaultDesign = 203;

}  // namespace tellurix
