// Steps of a test that drives the setup wizard through its pages: which page shows,
// clicks by control id, and the finish page's checklist, which lives in the installer's
// process and is read and ticked through that process's memory.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/installer_run.h"

namespace installer_e2e {

// The all-users Start-menu Programs folder, ending in "\".
std::string AllUsersPrograms();

std::string Id(int id);
HWND Control(HWND wizard, int id);
bool Shown(HWND wizard, int id);
bool Enabled(HWND wizard, int id);
std::string Text(HWND wizard, int id);
int VisiblePage(HWND wizard);
::testing::AssertionResult WaitForPage(HWND wizard, int page, int timeoutMs = kStepMs);
void Click(HWND wizard, int id);

// A state the window reaches a moment after the click that causes it.
template <typename Condition>
bool Eventually(Condition condition, int timeoutMs = kStepMs) {
  for (int waited = 0; waited < timeoutMs; waited += 50) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

// Wine's window thread may spend a second or two taking down a closed message box.
void WaitUntilAnswering(HWND wizard);

// The message box of the run with this title: its text, then the answer.
std::string AnswerBox(InstallerRun& run, const std::string& title, const std::string& answer);

struct ChecklistItem {
  std::string text;
  bool ticked = false;
};
// The finish page's checklist.
HWND Checklist(HWND wizard);
std::vector<ChecklistItem> ChecklistItems(HWND list);
bool SetChecklistItem(HWND list, int item, bool ticked);

// On the finish page: every checklist item unticked, "Finish", and the end of the run.
void FinishUnticked(InstallerRun& run, HWND wizard);

// Starts the test package and goes from the welcome page through the pages it shows
// (the Start-menu page when groupPage) to the finish page, answering the message box of
// each download (titled with its save path); nullptr, with a failure, when a page is missing.
HWND InstallToFinishPage(InstallerRun& run, const char* package, bool groupPage,
                         const std::vector<std::string>& downloads = {});

}  // namespace installer_e2e
