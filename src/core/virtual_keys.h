// Virtual-key codes: the numbers the key tables of viewers and filers use.
#pragma once

namespace rkv::vk {

inline constexpr int kBack = 8, kEnter = 13, kEsc = 27, kSpace = 32, kPageUp = 33, kPageDown = 34;
inline constexpr int kEnd = 35, kHome = 36, kLeft = 37, kUp = 38, kDown = 40, kDelete = 46;
inline constexpr int kB = 66;
inline constexpr int kF1 = 112, kF2 = 113, kF5 = 116, kF7 = 118, kF8 = 119, kF9 = 120;
inline constexpr int kNumpad0 = 96, kYen = 220;

}  // namespace rkv::vk
