// DLLs planted beside a package: with Wine told to prefer a program's own folder for their
// names, the way Windows treats every DLL it doesn't know as a system DLL, the shipped
// installer must load none of them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/package/package_test_support.h"
#include "tools/winrobot/winrobot.h"

using namespace package_test;

namespace {

constexpr int kWaitMs = 60000;

std::vector<std::string> PlantedNames() {
  std::vector<std::string> names;
  std::string list = PLANTED_DLLS;
  for (size_t start = 0, end; start < list.size(); start = end + 1) {
    end = list.find(';', start);
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

// Runs a program from the planted folder with Wine preferring the folder's copies; its
// exit code, or -1 when it didn't end in time (it is ended then).
long RunWithPlantedDllsPreferred(const std::string& commandLine, const std::string& folder) {
  std::string overrides = "mscoree,mshtml=;winedbg.exe=d";
  for (const std::string& name : PlantedNames()) overrides += ";" + name + "=n,b";
  SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides.c_str());
  winrobot::ProcessGuard run;
  bool started = winrobot::StartProcess(commandLine, &run.process, folder);
  SetEnvironmentVariableA("WINEDLLOVERRIDES", "mscoree,mshtml=");
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
  const std::string probe = scratch.path + "plant_probe.exe";
  ASSERT_TRUE(CopyFileA(TestData("planted/plant_probe.exe").c_str(), probe.c_str(), FALSE));
  std::string probeLine = "\"" + probe + "\"";
  for (const std::string& name : PlantedNames()) probeLine += " " + name + ".dll";
  RunWithPlantedDllsPreferred(probeLine, scratch.path);
  ASSERT_EQ(Markers(scratch.path), PlantedNames()) << "planted copies are not preferred: the test can't see planting";
  for (const std::string& name : PlantedNames()) DeleteFileA((scratch.path + name + ".dll.loaded").c_str());

  // A package started from that folder, through its progress window to the end of its run.
  const std::string setup = scratch.path + "Setup.exe";
  ASSERT_TRUE(CopyFileA(TestData("package/Setup.exe").c_str(), setup.c_str(), FALSE));
  EXPECT_EQ(RunWithPlantedDllsPreferred("\"" + setup + "\"", scratch.path), 0);
  EXPECT_EQ(Markers(scratch.path), std::vector<std::string>());
}
