// Build and run: compiling the listing with the configured compiler and
// starting the built program.
#pragma once
#include <cstdint>

// runAfter 1 starts the built program after a clean compilation.
std::int32_t COMPILEFREEBASIC(std::int32_t runAfter);
std::int32_t COMPILEPOWERBASIC(std::int32_t runAfter);
