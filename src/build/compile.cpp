// Compilation (to be built).
#include "build/build.h"

std::int32_t COMPILEFREEBASIC(std::int32_t) { return 0; }
std::int32_t COMPILEPOWERBASIC(std::int32_t) { return 0; }
