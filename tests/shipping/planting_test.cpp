// DLLs planted beside a package: with Wine told to prefer a program's own folder for their
// names, the way Windows treats every DLL it doesn't know as a system DLL, the shipped
// installer must load none of them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tools/winrobot/winrobot.h"

using namespace corvalis::testing;

namespace {

constexpr int kWaitMs = 60000;

std::vector<std::string> PlantedNames() {
  std::vector<std::string> names;
  std::string list = PLANTED_DLLS;
  for (size_t start = 0, end; start < list.size(); start = end + 1) {
    end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    names.push_back(list.substr(start, end - start));
  }
  return names;
}

std::string TestData(const std::string& name) {
  const char* root = std::getenv("CORVALIS_TEST_DATA");
  return winrobot::UnixToWindowsPath(std::string(root ? root : "") + "/" + name);
}

// The planted DLLs that something loaded, by their markers.
std::vector<std::string> Markers(const std::string& folder) {
  std::vector<std::string> found;
  for (const std::string& name : PlantedNames()) {
    if (Exists(folder + name + ".dll.loaded")) found.push_back(name);
  }
  return found;
}

// Wine's per-program load order, keyed by the program's file name: native (the copy in
// the program's folder) before builtin for every planted name, as long as it lives. Set in
// the registry because a child started from here doesn't take WINEDLLOVERRIDES from this
// process's environment.
struct PreferPlantedDlls {
  explicit PreferPlantedDlls(const std::string& programName)
      : appKey("Software\\Wine\\AppDefaults\\" + programName) {
    HKEY overrides = nullptr;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (appKey + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, &overrides, nullptr),
              ERROR_SUCCESS);
    for (const std::string& name : PlantedNames()) {
      RegSetValueExA(overrides, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    RegCloseKey(overrides);
  }
  ~PreferPlantedDlls() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (appKey + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
  }
  std::string appKey;
};

// Runs a program from the planted folder; its exit code, or -1 when it didn't end in time
// (it is ended then).
long RunFromFolder(const std::string& program, const std::string& arguments, const std::string& folder) {
  winrobot::ProcessGuard run;
  bool started = winrobot::StartProcess("\"" + folder + program + "\"" + arguments, &run.process, folder);
  EXPECT_TRUE(started) << winrobot::LastError();
  DWORD exitCode = 0;
  if (!started || !winrobot::WaitProcess(run.process, kWaitMs, &exitCode)) return -1;
  return long(exitCode);
}

}  // namespace

TEST(PlantedDlls, TheInstallerLoadsNoneOfThoseBesideIt) {
  ScratchFolder scratch("planted");
  for (const std::string& name : PlantedNames()) {
    ASSERT_TRUE(CopyFileA(TestData("planted/" + name + ".dll").c_str(), (scratch.path + name + ".dll").c_str(), FALSE))
        << name;
  }

  // The control: loading by bare name does pick up every planted copy.
  ASSERT_TRUE(CopyFileA(TestData("planted/plant_probe.exe").c_str(), (scratch.path + "plant_probe.exe").c_str(), FALSE));
  std::string names;
  for (const std::string& name : PlantedNames()) names += " " + name + ".dll";
  {
    PreferPlantedDlls prefer("plant_probe.exe");
    RunFromFolder("plant_probe.exe", names, scratch.path);
  }
  ASSERT_EQ(Markers(scratch.path), PlantedNames()) << "planted copies are not preferred: the test can't see planting";
  for (const std::string& name : PlantedNames()) DeleteFileA((scratch.path + name + ".dll.loaded").c_str());

  // A package started from that folder, through its progress window and its language
  // dialog (every common control is in use by then), cancelled there.
  ASSERT_TRUE(CopyFileA(TestData("package/Setup.exe").c_str(), (scratch.path + "PlantedSetup.exe").c_str(), FALSE));
  {
    PreferPlantedDlls prefer("PlantedSetup.exe");
    winrobot::ProcessGuard run;
    ASSERT_TRUE(winrobot::StartProcess("\"" + scratch.path + "PlantedSetup.exe\"", &run.process, scratch.path))
        << winrobot::LastError();
    HWND dialog = winrobot::WaitForWindowOfProcess(run.process.pid, "Language selection", kWaitMs);
    ASSERT_NE(dialog, nullptr) << winrobot::LastError();
    ASSERT_TRUE(winrobot::ClickButton(dialog, "Cancel")) << winrobot::LastError();
    HWND confirm = winrobot::WaitForMessageBox(run.process.pid, "Please confirm", kWaitMs);
    ASSERT_NE(confirm, nullptr) << winrobot::LastError();
    ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes")) << winrobot::LastError();
    DWORD exitCode = 1;
    ASSERT_TRUE(winrobot::WaitProcess(run.process, kWaitMs, &exitCode));
    EXPECT_EQ(exitCode, 1602u) << "cancelled";
  }
  EXPECT_EQ(Markers(scratch.path), std::vector<std::string>());
}
