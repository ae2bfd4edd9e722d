#include "installer/uninstaller_image.h"

#include <windows.h>
#include <zlib.h>

#include "installer/resource_ids.h"
#include "uninstaller_image_length.h"

namespace corvalis {

std::string UninstallerImage(const InstallSession& session) {
  if (!session.PackageUninstaller.empty()) return session.PackageUninstaller;
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_UNINSTALLER), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* packed = loaded ? LockResource(loaded) : nullptr;
  if (!packed) return std::string();
  std::string image(kUninstallerImageBytes, '\0');
  uLongf length = kUninstallerImageBytes;
  // The length is the build's: anything else means the resource isn't the one we packed.
  if (uncompress(reinterpret_cast<Bytef*>(&image[0]), &length, static_cast<const Bytef*>(packed),
                 SizeofResource(nullptr, found)) != Z_OK ||
      length != kUninstallerImageBytes) {
    return std::string();
  }
  return image;
}

}  // namespace corvalis
