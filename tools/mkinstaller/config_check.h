// What the builder refuses in a configuration folder: anything that would build a package
// that can't work at the customer's. Each problem names its file (and line), what is wrong
// and how to mend it.
#pragma once

#include <string>
#include <vector>

namespace mkinstaller {

// Script.ini and language files in UTF-8 without a signature; the script's own warnings
// (unknown task types, short task lines, ...); resources the script needs and doesn't
// have; bitmaps that are no BMP or not 155 x 310 and 500 x 60; language files without
// every key; no uninstall entry; a Version that isn't dotted numbers; web addresses
// without a scheme.
std::vector<std::string> CheckConfiguration(const std::string& configFolder);

}  // namespace mkinstaller
