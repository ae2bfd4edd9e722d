#include "installer/package/package_checks.h"

#include <cstring>

#include "installer/package/package_layout.h"

namespace corvalis {

Trailer ParseTrailer(const unsigned char* tail, std::size_t tailBytes, std::int64_t packageEnd) {
  Trailer trailer;
  if (tailBytes < std::size_t(kEndMarkerBytes) ||
      std::memcmp(tail + tailBytes - kEndMarkerBytes, kEndMarker, kEndMarkerBytes) != 0) {
    trailer.status = TrailerStatus::NoEndMarker;
    return trailer;
  }
  trailer.status = TrailerStatus::Corrupted;
  if (tailBytes < std::size_t(kTrailerBytes)) return trailer;
  const unsigned char* lengths = tail + tailBytes - kTrailerBytes;
  trailer.infoBytes = ReadLe32(lengths);
  trailer.programBytes = ReadLe32(lengths + 4);
  if (trailer.infoBytes == 0 || trailer.programBytes == 0) return trailer;
  // Lengths that point before the start of the file would make every later seek fail.
  if (std::int64_t(trailer.infoBytes) + trailer.programBytes + kTrailerBytes > packageEnd) return trailer;
  trailer.status = TrailerStatus::Ok;
  return trailer;
}

std::int64_t InfoArchiveOffset(const Trailer& trailer, std::int64_t packageEnd) {
  return packageEnd - kTrailerBytes - std::int64_t(trailer.infoBytes);
}

std::int64_t ProgramArchiveOffset(const Trailer& trailer, std::int64_t packageEnd) {
  return InfoArchiveOffset(trailer, packageEnd) - std::int64_t(trailer.programBytes);
}

bool HasRoomFor(bool queryOk, std::uint64_t freeBytes, std::uint64_t neededBytes) {
  std::int64_t available = queryOk ? std::int64_t(freeBytes) : -1;
  if (queryOk && available < 0) return true;  // more than 8 EiB free
  return available >= std::int64_t(neededBytes);
}

}  // namespace corvalis
