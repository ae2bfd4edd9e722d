// The fixed English texts that the installer and the uninstaller both show before (or
// without) a language: one spelling for both programs.
#pragma once

namespace corvalis {

constexpr const char* kErrorTitle = "Error";
constexpr const char* kNeedAdministratorText = "You need to run this setup program under an Administrator account!";
// The title of the programs' own small windows and boxes.
constexpr const char* kProductTitle = "Corvalis Install Platform";

}  // namespace corvalis
