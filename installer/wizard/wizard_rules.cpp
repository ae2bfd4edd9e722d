#include "installer/wizard/wizard_rules.h"


#include "common/ansi_text.h"
#include "common/task_line.h"

namespace corvalis {

NextStep NextFrom(int current, const NavigationSwitches& switches, const std::string& destination) {
  auto show = [](int page) { return NextStep{NextAction::ShowPage, page}; };
  switch (current) {
    case kPageWelcome:
      if (switches.RequireLicense) return show(kPageLicense);
      return show(switches.RequireReadme ? kPageReadMe : kPageDestination);
    case kPageLicense:
      return show(switches.RequireReadme ? kPageReadMe : kPageDestination);
    case kPageReadMe:
      return show(kPageDestination);
    case kPageDestination:
      // A relative folder would be taken from wherever the installer was started (with
      // administrator rights): it gets the same answer as an empty field.
      if (!IsFullPath(destination) || HoldsFieldSeparator(destination)) {
        return NextStep{NextAction::WarnEmptyDestination, current};
      }
      if (switches.AutoCreateStartMenu) return show(kPageStartMenu);
      return NextStep{NextAction::StartInstallation, current};
    case kPageStartMenu:
      return NextStep{NextAction::StartInstallation, current};
    default:
      return NextStep{NextAction::Nothing, current};
  }
}

int PreviousFrom(int current, const NavigationSwitches& switches) {
  switch (current) {
    case kPageStartMenu:
      return kPageDestination;
    case kPageDestination:
      if (switches.RequireReadme) return kPageReadMe;
      return switches.RequireLicense ? kPageLicense : kPageWelcome;
    case kPageReadMe:
      return switches.RequireLicense ? kPageLicense : kPageWelcome;
    case kPageLicense:
      return kPageWelcome;
    default:
      return -1;
  }
}

PageButtons ButtonsForPage(int page, bool licenseTicked) {
  PageButtons buttons;
  switch (page) {
    case kPageWelcome:
      buttons.Next = ButtonState::Enabled;
      buttons.Previous = ButtonState::Disabled;
      break;
    case kPageLicense:
      buttons.Next = licenseTicked ? ButtonState::Enabled : ButtonState::Disabled;
      buttons.Previous = ButtonState::Enabled;
      break;
    case kPageFinish:
      buttons.Next = ButtonState::Hidden;
      buttons.Previous = ButtonState::Hidden;
      buttons.FinishInsteadOfCancel = true;
      break;
    default:
      buttons.Previous = ButtonState::Enabled;
      buttons.FocusExplanation = page == kPageProgress;
      break;
  }
  return buttons;
}

std::string SizeText(std::uint64_t bytes) {
  static const char* const kUnits[] = {"Byte", "KB", "MB", "GB", "TB", "PB", "EB"};
  // Whole powers of 1024 counted in integers: a floating logarithm puts 1024^k just
  // below k.
  int unit = 0;
  while (unit < 6 && (bytes >> (10 * (unit + 1))) != 0) ++unit;
  if (unit == 0) return std::to_string(bytes) + " " + kUnits[0];
  // One decimal, rounded as printf rounds (a tie goes to the even digit), in integers: the
  // C runtime's floating-point formatting would double the installer's code.
  const int shift = 10 * unit;
  const std::uint64_t mask = (std::uint64_t{1} << shift) - 1;
  std::uint64_t whole = bytes >> shift;
  const std::uint64_t scaledRest = (bytes & mask) * 10;
  std::uint64_t tenth = scaledRest >> shift;
  const std::uint64_t left = scaledRest & mask;
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  if (left > half || (left == half && tenth % 2 == 1)) ++tenth;
  if (tenth == 10) {
    ++whole;
    tenth = 0;
  }
  return std::to_string(whole) + "." + std::to_string(tenth) + " " + kUnits[unit];
}

std::string SpaceLine(const std::string& label, std::uint64_t bytes) {
  return label + " " + SizeText(bytes);
}

std::string DriveOfPath(const std::string& path) { return path.substr(0, 3); }

std::string InitialDestination(const std::string& registeredLocation, const std::string& defaultPath,
                               const std::string& appName, const PathContext& context) {
  if (!registeredLocation.empty()) return WithTrailingBackslash(registeredLocation);
  if (!TrimBlanks(defaultPath).empty()) return WithTrailingBackslash(ExpandAll(defaultPath, context));
  return WithTrailingBackslash(PathVariableFolder(kProgramFilesFolder, context) + appName);
}

std::string BrowsedDestination(const std::string& answer) {
  const std::string folder = TrimBlanks(answer);
  if (folder.empty() || folder == "\\") return std::string();
  return WithTrailingBackslash(folder);
}

std::string GroupPathForItem(const std::string& programsFolder, const std::string& item,
                             const std::string& appName) {
  if (item.empty()) return programsFolder + appName + "\\";
  return programsFolder + item + "\\" + appName + "\\";
}

std::string UnattendedGroupPath(const std::string& programsFolder, const std::string& group,
                                const std::string& appName) {
  if (group.empty()) return GroupPathForItem(programsFolder, "", appName);
  return WithTrailingBackslash(IsFullPath(group) ? group : programsFolder + group);
}

}  // namespace corvalis
