#pragma once

#include <cstdint>

// How well a card was recalled at a review, the four grades of the memory model. The
// numbers are stored in the review history, so they never change.
enum class Rating : uint8_t { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// True for the numbers 1 to 4, the only ones a stored rating may hold.
constexpr bool isValidRating(int value) { return value >= 1 && value <= 4; }
