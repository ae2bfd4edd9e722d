// Drives robot_target.exe through the library and winrobot.exe, then checks what
// the target program itself saw.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "tools/winrobot/winrobot.h"

namespace {

constexpr int kWaitMs = 15000;

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::map<std::string, std::string> ReadReport(const std::string& path) {
  std::map<std::string, std::string> values;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

// One running robot_target.exe with a window and a report of its own.
class TargetTest : public ::testing::Test {
 protected:
  void Start(const std::string& name) {
    name_ = name;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    reportPath_ = std::string(temp) + "winrobot_" + name + ".txt";
    DeleteFileA(reportPath_.c_str());
    std::string commandLine = Quoted(ProgramFolder() + "robot_target.exe") + " " + name + " " + Quoted(reportPath_);
    ASSERT_TRUE(winrobot::StartProcess(commandLine, &target_.process)) << winrobot::LastError();
    window_ = winrobot::WaitForWindowOfProcess(target_.process.pid, "Robot Target " + name, kWaitMs);
    ASSERT_NE(window_, nullptr) << winrobot::LastError();
  }

  // Clicks "Finish" and returns the report and exit code of the ended target.
  std::map<std::string, std::string> Finish(DWORD* exitCode) {
    EXPECT_TRUE(winrobot::ClickButton(window_, "Finish")) << winrobot::LastError();
    EXPECT_TRUE(winrobot::WaitProcess(target_.process, kWaitMs, exitCode)) << winrobot::LastError();
    return ReadReport(reportPath_);
  }

  void TearDown() override { DeleteFileA(reportPath_.c_str()); }

  std::string name_;
  std::string reportPath_;
  winrobot::ProcessGuard target_;
  HWND window_ = nullptr;
};

const winrobot::ControlInfo* FindInfo(const std::vector<winrobot::ControlInfo>& controls, int id) {
  for (const winrobot::ControlInfo& control : controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

TEST_F(TargetTest, ListsControlsWithTheirState) {
  ASSERT_NO_FATAL_FAILURE(Start("list"));
  std::vector<winrobot::ControlInfo> controls = winrobot::ListControls(window_);
  ASSERT_EQ(controls.size(), 13u);
  EXPECT_EQ(controls[0].className, "Static");
  EXPECT_EQ(controls[0].text, "&Folder:");
  EXPECT_EQ(controls[1].text, "C:\\Old");

  const winrobot::ControlInfo* remember = FindInfo(controls, 203);
  ASSERT_NE(remember, nullptr);
  EXPECT_EQ(remember->className, "Button");
  EXPECT_FALSE(remember->checked);
  const winrobot::ControlInfo* locked = FindInfo(controls, 209);
  ASSERT_NE(locked, nullptr);
  EXPECT_TRUE(locked->visible);
  EXPECT_FALSE(locked->enabled);
  const winrobot::ControlInfo* hidden = FindInfo(controls, 212);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(hidden->visible);

  EXPECT_EQ(winrobot::FindControl(window_, "Finish"), FindInfo(controls, 210)->hwnd);
  EXPECT_EQ(winrobot::FindControl(window_, "#212"), hidden->hwnd);
  EXPECT_EQ(winrobot::FindControl(window_, "Nothing like it"), nullptr);
  EXPECT_NE(winrobot::LastError().find("\"Nothing like it\""), std::string::npos) << winrobot::LastError();
  EXPECT_EQ(winrobot::WindowText(window_), "Robot Target list");
  EXPECT_EQ(winrobot::WaitForWindowOfProcess(target_.process.pid, "", 0), window_);

  std::vector<std::string> languages = winrobot::ListItems(window_, "Language:");
  EXPECT_EQ(languages, (std::vector<std::string>{"Deutsch", "English", "Nederlands"}));
  EXPECT_EQ(winrobot::ListItems(window_, "#207"), (std::vector<std::string>{"Red", "Green", "Blue"}));
}

TEST_F(TargetTest, ChangesReachTheProgram) {
  winrobot::SetWineVersion("robot_target.exe", "winxp");
  ASSERT_NO_FATAL_FAILURE(Start("change"));
  winrobot::SetWineVersion("robot_target.exe", "");

  EXPECT_TRUE(winrobot::SetEditText(window_, "Folder:", "D:\\New Place")) << winrobot::LastError();
  EXPECT_TRUE(winrobot::SetCheck(window_, "Remember me", true)) << winrobot::LastError();
  EXPECT_TRUE(winrobot::SetCheck(window_, "Remember me", true)) << winrobot::LastError();
  EXPECT_TRUE(winrobot::SelectItem(window_, "Language:", "English")) << winrobot::LastError();
  EXPECT_TRUE(winrobot::SelectItem(window_, "#207", "Green")) << winrobot::LastError();

  EXPECT_FALSE(winrobot::SelectItem(window_, "Language:", "english"));
  EXPECT_NE(winrobot::LastError().find("\"Deutsch\", \"English\", \"Nederlands\""), std::string::npos)
      << winrobot::LastError();
  EXPECT_FALSE(winrobot::ClickButton(window_, "Locked"));
  EXPECT_NE(winrobot::LastError().find("disabled"), std::string::npos) << winrobot::LastError();
  EXPECT_FALSE(winrobot::ClickButton(window_, "Not a button"));
  EXPECT_NE(winrobot::LastError().find("Static"), std::string::npos) << winrobot::LastError();
  EXPECT_FALSE(winrobot::SetEditText(window_, "Remember me", "x"));
  EXPECT_FALSE(winrobot::SetCheck(window_, "Ask", true));

  DWORD exitCode = 99;
  std::map<std::string, std::string> report = Finish(&exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(report["edit"], "D:\\New Place");
  EXPECT_EQ(report["editChanges"], "1");
  EXPECT_EQ(report["remember"], "1");
  EXPECT_EQ(report["rememberClicks"], "1");
  EXPECT_EQ(report["language"], "English");
  EXPECT_EQ(report["colour"], "Green");
  EXPECT_EQ(report["version"], "5.1");
}

TEST_F(TargetTest, AnswersMessageBoxWhileTheWindowIsBlocked) {
  ASSERT_NO_FATAL_FAILURE(Start("ask"));
  ASSERT_TRUE(winrobot::ClickButton(window_, "Ask")) << winrobot::LastError();
  HWND box = winrobot::WaitForMessageBox(target_.process.pid, "Robot Question ask", kWaitMs);
  ASSERT_NE(box, nullptr) << winrobot::LastError();
  EXPECT_EQ(winrobot::WaitForWindow("Robot Question ask", 0), box);
  EXPECT_EQ(winrobot::MessageBoxText(box), "Keep the changes?\nSecond line");
  EXPECT_EQ(winrobot::MessageBoxText(window_), "");
  EXPECT_FALSE(winrobot::LastError().empty());

  EXPECT_FALSE(winrobot::ClickButton(window_, "Finish"));
  EXPECT_NE(winrobot::LastError().find("modal"), std::string::npos) << winrobot::LastError();
  EXPECT_FALSE(winrobot::AnswerMessageBox(box, "Maybe"));
  EXPECT_NE(winrobot::LastError().find("\"Yes\", \"No\", \"Cancel\""), std::string::npos) << winrobot::LastError();

  ASSERT_TRUE(winrobot::AnswerMessageBox(box, "No")) << winrobot::LastError();
  EXPECT_TRUE(winrobot::WaitForWindowGone(box, kWaitMs)) << winrobot::LastError();
  ASSERT_NE(winrobot::WaitForControl(window_, "Finish", kWaitMs), nullptr) << winrobot::LastError();
  DWORD exitCode = 0;
  std::map<std::string, std::string> report = Finish(&exitCode);
  EXPECT_EQ(exitCode, static_cast<DWORD>(IDNO));
  EXPECT_EQ(report["answer"], std::to_string(IDNO));
}

TEST_F(TargetTest, BusyProgramNeitherHangsNorHidesItsWindow) {
  ASSERT_NO_FATAL_FAILURE(Start("busy"));
  ASSERT_TRUE(winrobot::ClickButton(window_, "Busy")) << winrobot::LastError();
  Sleep(300);
  DWORD start = GetTickCount();
  std::vector<winrobot::ControlInfo> controls = winrobot::ListControls(window_);
  DWORD elapsed = GetTickCount() - start;
  EXPECT_LT(elapsed, 4500u);
  EXPECT_NE(winrobot::LastError().find("does not answer"), std::string::npos) << winrobot::LastError();
  ASSERT_EQ(controls.size(), 13u);
  EXPECT_EQ(controls[0].text, "&Folder:");
  // Button captions don't need the program's help, so waiting for one works meanwhile.
  EXPECT_EQ(winrobot::WaitForControl(window_, "Finish", 0), FindInfo(controls, 210)->hwnd) << winrobot::LastError();
  EXPECT_EQ(winrobot::WaitForWindow("Robot Target busy", 0), window_);

  start = GetTickCount();
  EXPECT_EQ(winrobot::WaitForWindow("Robot Target none", 300), nullptr);
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_NE(winrobot::LastError().find("\"Robot Target none\""), std::string::npos) << winrobot::LastError();
  EXPECT_FALSE(winrobot::WaitForWindowGone(window_, 100));
}

TEST(ProcessWindows, EndedProcessIsReportedWithoutWaitingOut) {
  winrobot::ProcessGuard target;
  ASSERT_TRUE(winrobot::StartProcess(Quoted(ProgramFolder() + "robot_target.exe") + " too-few", &target.process))
      << winrobot::LastError();
  DWORD start = GetTickCount();
  EXPECT_EQ(winrobot::WaitForMessageBox(target.process.pid, "", kWaitMs), nullptr);
  EXPECT_LT(GetTickCount() - start, static_cast<DWORD>(kWaitMs));
  EXPECT_NE(winrobot::LastError().find("ended with exit code 2"), std::string::npos) << winrobot::LastError();
  DWORD exitCode = 0;
  EXPECT_TRUE(winrobot::WaitProcess(target.process, 0, &exitCode));
  EXPECT_EQ(exitCode, 2u);

  winrobot::Process missing;
  EXPECT_FALSE(winrobot::StartProcess(Quoted(ProgramFolder() + "no_such_program.exe"), &missing));
  EXPECT_NE(winrobot::LastError().find("no_such_program.exe"), std::string::npos) << winrobot::LastError();
  EXPECT_EQ(missing.handle, nullptr);
}

// Tests may also drive windows that their own thread created.
TEST(OwnWindows, ReadAndChangedWithoutAnotherThread) {
  HWND window = CreateWindowExA(0, "Static", "Own Window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  CreateWindowExA(0, "Static", "Name:", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, window, reinterpret_cast<HMENU>(1),
                  GetModuleHandleA(nullptr), nullptr);
  CreateWindowExA(0, "Edit", "old", WS_CHILD | WS_VISIBLE, 60, 0, 100, 20, window, reinterpret_cast<HMENU>(2),
                  GetModuleHandleA(nullptr), nullptr);
  DWORD start = GetTickCount();
  EXPECT_TRUE(winrobot::SetEditText(window, "Name:", "new")) << winrobot::LastError();
  std::vector<winrobot::ControlInfo> controls = winrobot::ListControls(window);
  EXPECT_LT(GetTickCount() - start, 1000u);
  ASSERT_EQ(controls.size(), 2u);
  EXPECT_EQ(controls[1].text, "new");
  DestroyWindow(window);
}

HWND MakeDialogWindow(const char* title) {
  return CreateWindowExA(0, "#32770", title, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 300, 150, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND AddChild(HWND parent, const char* className, const char* text, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

TEST(OwnWindows, DialogWithUnnamedLabelsIsNoMessageBox) {
  HWND dialog = MakeDialogWindow("Robot Label Dialog");
  AddChild(dialog, "Static", "Choose:", 0xFFFF);
  AddChild(dialog, "ComboBox", "", 300);
  AddChild(dialog, "Button", "OK", IDOK);
  HWND box = MakeDialogWindow("Robot Label Dialog");
  AddChild(box, "Static", "Really?", 0xFFFF);
  AddChild(box, "Button", "&Yes", IDYES);
  AddChild(box, "Button", "&No", IDNO);

  EXPECT_EQ(winrobot::WaitForMessageBox(GetCurrentProcessId(), "Robot Label Dialog", 0), box);
  EXPECT_EQ(winrobot::MessageBoxText(box), "Really?");
  DestroyWindow(box);
  EXPECT_EQ(winrobot::WaitForMessageBox(GetCurrentProcessId(), "Robot Label Dialog", 0), nullptr);
  EXPECT_EQ(winrobot::WaitForWindow("Robot Label Dialog", 0), dialog);
  DestroyWindow(dialog);
}

TEST(WineVersion, SetAndRemovedAgain) {
  const char* key = "Software\\Wine\\AppDefaults\\winrobot_probe.exe";
  ASSERT_TRUE(winrobot::SetWineVersion("winrobot_probe.exe", "win98")) << winrobot::LastError();
  char value[32] = "";
  DWORD size = sizeof value;
  EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, key, "Version", RRF_RT_REG_SZ, nullptr, value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, "win98");
  ASSERT_TRUE(winrobot::SetWineVersion("winrobot_probe.exe", "")) << winrobot::LastError();
  HKEY opened = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(winrobot::SetWineVersion("winrobot_probe.exe", ""));
}

// winrobot.exe with its output captured in a file.
struct CliResult {
  DWORD exitCode = 0;
  std::string output;
};

CliResult RunCli(const std::string& arguments) {
  CliResult result;
  if (winrobot::DistFilePath("winrobot.exe").empty()) {
    result.exitCode = 97;
    result.output = winrobot::LastError();
    return result;
  }
  std::string program = winrobot::DistFilePath("winrobot.exe");
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof temp, temp);
  std::string outputPath = std::string(temp) + "winrobot_cli_output.txt";
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION info = {};
  std::string commandLine = Quoted(program) + " " + arguments;
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
    if (WaitForSingleObject(info.hProcess, kWaitMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
    GetExitCodeProcess(info.hProcess, &result.exitCode);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  } else {
    result.exitCode = 98;
    result.output = "could not start " + commandLine + ", error " + std::to_string(GetLastError());
  }
  CloseHandle(output);
  std::ifstream in(outputPath, std::ios::binary);
  result.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  DeleteFileA(outputPath.c_str());
  return result;
}

TEST_F(TargetTest, CommandLineToolDrivesAndReportsFailures) {
  ASSERT_NO_FATAL_FAILURE(Start("cli"));
  CliResult missingWindow = RunCli("wait-window \"Robot Target nowhere\" --timeout 200");
  EXPECT_EQ(missingWindow.exitCode, 1u);
  EXPECT_NE(missingWindow.output.find("no visible window titled \"Robot Target nowhere\""), std::string::npos)
      << missingWindow.output;
  CliResult missingControl = RunCli("click \"Robot Target cli\" \"No such button\" --timeout 200");
  EXPECT_EQ(missingControl.exitCode, 1u);
  EXPECT_NE(missingControl.output.find("no control \"No such button\""), std::string::npos) << missingControl.output;
  CliResult badUsage = RunCli("check \"Robot Target cli\" \"Remember me\" maybe");
  EXPECT_EQ(badUsage.exitCode, 2u);
  EXPECT_NE(badUsage.output.find("usage:"), std::string::npos) << badUsage.output;

  CliResult windows = RunCli("list");
  EXPECT_EQ(windows.exitCode, 0u) << windows.output;
  EXPECT_NE(windows.output.find("\t\"Robot Target cli\"\n"), std::string::npos) << windows.output;
  CliResult list = RunCli("list \"Robot Target cli\"");
  EXPECT_EQ(list.exitCode, 0u) << list.output;
  EXPECT_NE(list.output.find("Button\t#209\tvisible disabled\t\"Locked\""), std::string::npos) << list.output;
  EXPECT_EQ(RunCli("set-text \"Robot Target cli\" Folder: \"E:\\Some Where\"").exitCode, 0u);
  EXPECT_EQ(RunCli("check \"Robot Target cli\" \"Remember me\" on").exitCode, 0u);
  EXPECT_EQ(RunCli("select \"Robot Target cli\" Language: Nederlands").exitCode, 0u);
  EXPECT_EQ(RunCli("click \"Robot Target cli\" Ask").exitCode, 0u);
  CliResult text = RunCli("msgbox-text \"Robot Question cli\"");
  EXPECT_EQ(text.exitCode, 0u) << text.output;
  EXPECT_EQ(text.output, "Keep the changes?\nSecond line\n");
  CliResult answer = RunCli("answer \"Robot Question cli\" Yes");
  EXPECT_EQ(answer.exitCode, 0u) << answer.output;

  ASSERT_NE(winrobot::WaitForControl(window_, "Finish", kWaitMs), nullptr) << winrobot::LastError();
  DWORD exitCode = 0;
  std::map<std::string, std::string> report = Finish(&exitCode);
  EXPECT_EQ(report["edit"], "E:\\Some Where");
  EXPECT_EQ(report["remember"], "1");
  EXPECT_EQ(report["language"], "Nederlands");
  EXPECT_EQ(report["answer"], std::to_string(IDYES));
}

}  // namespace
