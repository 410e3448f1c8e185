#pragma once

#include <cstdint>

// The kind of a rule base. The values are those of the rulebase file's "TypeOfDescription=" words
// ("linguistic", "takagi_sugeno", "singleton") and of the server's interface.
enum class TypeOfDescription : std::uint8_t {
    kLinguistic = 0,    // conclusions are expressions; inference gives a set to defuzzify
    kTakagiSugeno = 1,  // conclusions are linear combinations of the inputs
    kSingleton = 2,     // conclusions are numbers; inference gives the crisp output
};
