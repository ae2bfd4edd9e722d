// The "nelOSUtil" method table registered as "msgTable": the line naming the Xtra
// is composed at registration; the selector of a method is the position of its
// "+" line in this text, from 0.
#pragma once

#include <cstdint>

constexpr char kNelXtraName[] = "nelOSUtil";
constexpr uint32_t kNelMethodTableBytes = 2526;
extern const char kNelMethodTableBody[];
