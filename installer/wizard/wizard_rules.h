// The wizard's rules over plain values: which page follows which, how each page sets
// the buttons, the size texts, the destination and group paths. The window code in
// wizard_window.cpp only applies what these answer.
#pragma once

#include <cstdint>
#include <string>

#include "common/path_variables.h"

namespace corvalis {

enum WizardPage {
  kPageWelcome = 0,
  kPageLicense = 1,
  kPageReadMe = 2,
  kPageDestination = 3,
  kPageStartMenu = 4,
  kPageProgress = 5,
  kPageFinish = 6,
};
constexpr int kWizardPageCount = 7;

// The script switches navigation depends on, as the session holds them at the click.
struct NavigationSwitches {
  bool RequireLicense = false;       // RequireLicense is exactly "1"
  bool RequireReadme = false;        // RequireReadme is exactly "1"
  bool AutoCreateStartMenu = false;  // AutoCreateStartMenu is 1 (the no-group box switches it)
};

enum class NextAction { ShowPage, WarnEmptyDestination, StartInstallation, Nothing };
struct NextStep {
  NextAction Action = NextAction::Nothing;
  int Page = kPageWelcome;  // for ShowPage
};

// "Next" on page `current`; `destination` is the destination field's text, which only
// page 3 looks at: one without a drive or share is taken for empty, and so is one that
// holds the task lines' field separator (it would split every task line it stands in).
NextStep NextFrom(int current, const NavigationSwitches& switches, const std::string& destination);
// "Previous" on page `current`; -1 where there is no way back.
int PreviousFrom(int current, const NavigationSwitches& switches);

enum class ButtonState { Unchanged, Enabled, Disabled, Hidden };
struct PageButtons {
  ButtonState Next = ButtonState::Unchanged;
  ButtonState Previous = ButtonState::Unchanged;
  bool FinishInsteadOfCancel = false;  // finish page: Cancel hidden, Finish shown
  bool FocusExplanation = false;       // progress page: no button keeps the focus
};
PageButtons ButtonsForPage(int page, bool licenseTicked);

// "0 Byte", "1023 Byte", "1.0 KB", "1.5 KB", ... "16.0 EB".
std::string SizeText(std::uint64_t bytes);
// label + " " + SizeText(bytes): the two space lines of the destination page.
std::string SpaceLine(const std::string& label, std::uint64_t bytes);
// The drive whose free space the space lines show: the path's first three characters.
std::string DriveOfPath(const std::string& path);

// The destination field's first text: the folder of an earlier installation of the product
// (registeredLocation) when there is one, else DefaultPath expanded when it holds more than
// blanks, else the Program Files folder + AppName; always ending in "\".
std::string InitialDestination(const std::string& registeredLocation, const std::string& defaultPath,
                               const std::string& appName, const PathContext& context);
// A folder browser's answer as the field takes it; empty when the field must not change.
std::string BrowsedDestination(const std::string& answer);

// The group field for a folder list item: programsFolder (ending in "\") + AppName for
// the empty item, programsFolder + item + "\" + AppName for a named one; ends in "\".
std::string GroupPathForItem(const std::string& programsFolder, const std::string& item,
                             const std::string& appName);

// The group folder of a run without questions: /GROUP's name below programsFolder (or as
// given when it is a full path), the wizard's first choice without one; ends in "\".
std::string UnattendedGroupPath(const std::string& programsFolder, const std::string& group,
                                const std::string& appName);

}  // namespace corvalis
