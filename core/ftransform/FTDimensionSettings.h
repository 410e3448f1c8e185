#pragma once

#include <cstdint>

// Shapes of the basic functions; the codes are those of the settings dialog's radio group.
enum FTShape : std::uint8_t {
    ftTriangular = 0,
    ftQuadratic = 1,
    ftSinusoidal = 2,
    ftFuzzyNumber = 3
};

// One input axis of an F-transform: `nodes` basic functions spread evenly over [low, high].
struct FTDimensionSettings {
    double low = 0.0;
    double high = 1.0;
    int nodes = 10;
    std::uint8_t shape = ftTriangular;
};
