// Streifenwerk: fans of black and white lines through a random centre, pattern after pattern, until
// Escape.
#pragma once

#include <cstdint>

// The last value RandomNumber produced.
extern std::int64_t LastRandom;

// The program: opens window 0 as a 1024 x 1024 display at 4 bits per pixel, runs the pattern loop,
// shows the end title and ends its thread.
void MainProgram();
// Draws patterns until Escape is read.
void PatternLoop();
// A new random value in 0..n for n >= 1; LastRandom again for n = 0.
std::int64_t RandomNumber(std::int64_t n);
