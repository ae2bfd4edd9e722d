// Checks made on the package before anything is copied out: the trailer and the room
// on the temporary folder's drive.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvalis {

enum class TrailerStatus {
  Ok,
  NoEndMarker,  // "This installer is incomplete!"
  Corrupted,    // "This installer is corrupted.": a length is 0, or the lengths reach past the file's start
};

struct Trailer {
  TrailerStatus status = TrailerStatus::NoEndMarker;
  std::uint32_t infoBytes = 0;     // B
  std::uint32_t programBytes = 0;  // A
};

// tail holds the tailBytes bytes before packageEnd (tailBytes is min(packageEnd, 11)):
// packageEnd is the file's length, or where a signature's certificate table begins.
Trailer ParseTrailer(const unsigned char* tail, std::size_t tailBytes, std::int64_t packageEnd);

// Where the archives lie in a package that ends at packageEnd.
std::int64_t ProgramArchiveOffset(const Trailer& trailer, std::int64_t packageEnd);
std::int64_t InfoArchiveOffset(const Trailer& trailer, std::int64_t packageEnd);

// A failed free-space query counts as -1 bytes, that is as too little.
bool HasRoomFor(bool queryOk, std::uint64_t freeBytes, std::uint64_t neededBytes);

}  // namespace corvalis
