// nelXtra's methods under Wine: the text conversions directly, and the methods through
// xtrahost sessions with Wine's registry, folders and real common dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "tests/xtra/xtrahost_runner.h"
#include "tools/winrobot/winrobot.h"
#include "xtra/osutil/text_conversion.h"

namespace {

// ---- conversions -------------------------------------------------------------------

const std::string kEAcuteAnsi = "\xE9";
const std::string kEAcuteUtf8 = "\xC3\xA9";

std::string Converted(void (*convert)(const char*, char*, size_t), const std::string& text, size_t n = 4096) {
  std::string out(n, 'x');
  convert(text.c_str(), &out[0], n);
  return out.c_str();
}

std::string ConvertedIni(void (*convert)(const char*, int, char*, size_t), const std::string& text, int isUtf8,
                         size_t n = 4096) {
  std::string out(n, 'x');
  convert(text.c_str(), isUtf8, &out[0], n);
  return out.c_str();
}

TEST(NelConversions, FollowTheHostsEncodingAndTheIniMode) {
  hostUsesUtf8 = true;
  EXPECT_EQ(Converted(&ToHostText, "caf" + kEAcuteAnsi), "caf" + kEAcuteUtf8);
  EXPECT_EQ(Converted(&FromHostText, "caf" + kEAcuteUtf8), "caf" + kEAcuteAnsi);
  EXPECT_EQ(Converted(&PathFromHost, "C:/a/" + kEAcuteUtf8), "C:\\a\\" + kEAcuteAnsi);
  EXPECT_EQ(ConvertedIni(&IniNameFromHost, kEAcuteUtf8, 1), kEAcuteUtf8);
  EXPECT_EQ(ConvertedIni(&IniNameFromHost, kEAcuteUtf8, 0), kEAcuteAnsi);
  EXPECT_EQ(ConvertedIni(&IniTextToHost, kEAcuteUtf8, 1), kEAcuteUtf8);
  EXPECT_EQ(ConvertedIni(&IniTextToHost, kEAcuteAnsi, 2), kEAcuteUtf8);

  hostUsesUtf8 = false;
  EXPECT_EQ(Converted(&ToHostText, "caf" + kEAcuteAnsi), "caf" + kEAcuteAnsi);
  EXPECT_EQ(Converted(&FromHostText, "caf" + kEAcuteAnsi), "caf" + kEAcuteAnsi);
  EXPECT_EQ(Converted(&PathFromHost, "C:/a/b"), "C:\\a\\b");
  EXPECT_EQ(ConvertedIni(&IniNameFromHost, kEAcuteAnsi, 1), kEAcuteUtf8);
  EXPECT_EQ(ConvertedIni(&IniTextToHost, kEAcuteUtf8, 1), kEAcuteAnsi);
  EXPECT_EQ(ConvertedIni(&IniTextToHost, kEAcuteAnsi, 0), kEAcuteAnsi);
}

TEST(NelConversions, TextThatOutgrowsItsBufferIsCutAtACharacterBoundary) {
  hostUsesUtf8 = true;
  std::string ansi(200, '\xE9');
  const std::string cut = Converted(&ToHostText, ansi, 256);
  EXPECT_EQ(cut.size(), 254u);  // 127 whole characters of two bytes
  EXPECT_EQ(cut.substr(252), kEAcuteUtf8);
  std::string utf8Name = "a";
  for (int i = 0; i < 200; ++i) utf8Name += kEAcuteUtf8;
  EXPECT_EQ(ConvertedIni(&IniNameFromHost, utf8Name, 1, 256).size(), 255u);
  EXPECT_EQ(ConvertedIni(&IniNameFromHost, utf8Name.substr(1), 1, 256).size(), 254u);
  // A character outside the basic plane is two UTF-16 units and four UTF-8 bytes.
  char out[8];
  ConvertCodePage("\xF0\x9F\x98\x80", CP_UTF8, CP_UTF8, out, 4);
  EXPECT_STREQ(out, "");
  ConvertCodePage("\xF0\x9F\x98\x80", CP_UTF8, CP_UTF8, out, 5);
  EXPECT_STREQ(out, "\xF0\x9F\x98\x80");
  hostUsesUtf8 = false;
}

// ---- sessions ----------------------------------------------------------------------

std::string TempPath(const std::string& name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Slashed(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

HostRun Session(const std::string& options, const std::string& script) {
  return RunHost(options + " \"" + DistFile("nelXtra.x32") + "\"", script);
}

TEST(NelSession, HostVersionDecidesTheEncodingOfEveryResult) {
  const std::string plain = TempPath("nel_encoding_plain.ini");
  const std::string utf8 = TempPath("nel_encoding_utf8.ini");
  struct Case {
    std::string options;
    bool utf8Host;
  };
  const Case cases[] = {{"--host-version 11.5", true},
                        {"--host-version 10.1", false},
                        {"--host-version 9.0", false},
                        {"--host-version 11.5 --fail info", false},
                        {"--host-version 11.5 --without appinfo", false}};
  for (const Case& c : cases) {
    DeleteFileA(plain.c_str());
    DeleteFileA(utf8.c_str());
    const std::string e = c.utf8Host ? kEAcuteUtf8 : kEAcuteAnsi;
    // Calls are given in the host's encoding, as the host would pass them.
    HostRun run = Session(c.options, "WriteINI(\"S\", \"k\", \"" + e + "\", \"" + Slashed(plain) + "\", 0)\n" +
                                         "ReadINI(\"S\", \"k\", \"" + plain + "\", 0)\n" +
                                         "WriteINI(\"S\", \"u\", \"" + e + "\", \"" + utf8 + "\", 1)\n" +
                                         "ReadINI(\"s\", \"U\", \"" + utf8 + "\", 1)\n" +
                                         "HFStoPOSIX(\"C:/a b/" + e + "\")\n");
    EXPECT_EQ(run.exitCode, 0u) << c.options << "\n" << run.output;
    EXPECT_EQ(ResultLines(run.output), (std::vector<std::string>{"1", "\"" + e + "\"", "1", "\"" + e + "\"",
                                                                 "\"C:/a b/" + e + "\""}))
        << c.options << "\n" << run.output;
    EXPECT_EQ(FileBytes(plain), "[S]\r\nk=" + kEAcuteAnsi + "\r\n") << c.options;
    EXPECT_EQ(FileBytes(utf8), "\xEF\xBB\xBF[S]\r\nu=" + kEAcuteUtf8 + "\r\n") << c.options;
  }
  DeleteFileA(plain.c_str());
  DeleteFileA(utf8.c_str());
}

TEST(NelSession, IniMethodsReportWhatTheyDid) {
  const std::string file = TempPath("nel_methods.ini");
  DeleteFileA(file.c_str());
  const std::string missing = TempPath("nel_no_such_folder\\x.ini");
  HostRun run = Session("", "WriteINI(\"Sec\", \"a\", \"1\", \"" + file + "\", 0)\n" +
                                "WriteINI(\"Sec\", \"b\", \"2\", \"" + file + "\", 0)\n" +
                                "DeleteINI(\"SEC\", \"A\", \"" + file + "\", 0)\n" +
                                "DeleteINI(\"Sec\", \"gone\", \"" + file + "\", 0)\n" +
                                "ReadINI(\"Sec\", \"b\", \"" + file + "\", 0)\n" +
                                "ReadINI(\"Sec\", \"a\", \"" + file + "\", 0)\n" +
                                "WriteINI(\"Sec\", \"a\", \"1\", \"" + missing + "\", 0)\n" +
                                "ReadINI(\"Sec\", \"a\")\n");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(ResultLines(run.output), (std::vector<std::string>{"1", "1", "1", "0", "\"2\"", "\"\"", "0", "\"\""}))
      << run.output;
  EXPECT_EQ(FileBytes(file), "[Sec]\r\nb=2\r\n");
  DeleteFileA(file.c_str());
}

TEST(NelSession, OsNameAndVersionAsWineReportsThem) {
  struct Case {
    const char* wineVersion;
    const char* name;
    const char* versionStart;
  };
  const Case cases[] = {{"win98", "Windows 98", "4,10,"},      {"winme", "Windows Me", "4,90,"},
                        {"nt40", "Windows NT 4.0", "4,0,1381,2,"}, {"win2k", "Windows 2000", "5,0,2195,2,"},
                        {"winxp", "Windows XP", "5,1,2600,2,"},  {"vista", "Windows Vista", "6,0,6002,2,"},
                        {"win7", "Windows 7", "6,1,7601,2,"},    {"win10", "Windows", "6,2,9200,2,"}};
  for (const Case& c : cases) {
    ASSERT_TRUE(winrobot::SetWineVersion("xtrahost.exe", c.wineVersion));
    HostRun run = Session("", "GetOSName()\nGetOSVersion()\n");
    const std::vector<std::string> lines = ResultLines(run.output);
    ASSERT_EQ(lines.size(), 2u) << c.wineVersion << "\n" << run.output;
    EXPECT_EQ(lines[0], std::string("\"") + c.name + "\"") << c.wineVersion;
    EXPECT_EQ(lines[1].compare(0, std::strlen(c.versionStart) + 1, std::string("\"") + c.versionStart), 0)
        << c.wineVersion << ": " << lines[1];
  }
  winrobot::SetWineVersion("xtrahost.exe", "");
}

// The temporary folder comes from TMP for the sessions started while it is set.
struct TemporaryFolderSetting {
  explicit TemporaryFolderSetting(const std::string& folder) {
    GetEnvironmentVariableA("TMP", saved, sizeof saved);
    SetEnvironmentVariableA("TMP", folder.c_str());
  }
  ~TemporaryFolderSetting() { SetEnvironmentVariableA("TMP", saved); }
  char saved[MAX_PATH] = {};
};

TEST(NelSession, FoldersInLongFormWithoutTheirFinalBackslash) {
  {
    // The temporary folder as the system reports it, in short form.
    char shortForm[MAX_PATH] = {};
    GetShortPathNameA("C:\\Program Files", shortForm, sizeof shortForm);
    TemporaryFolderSetting tmp(std::string(shortForm) + "\\");
    HostRun run = Session("", "GetTempFolder()\nGetProgramFolder()\nGetSpecialFolder(59)\nGetSpecialFolder(36)\n");
    EXPECT_EQ(ResultLines(run.output),
              (std::vector<std::string>{"\"C:\\Program Files\"", "\"C:\\Program Files\"", "\"\"", "\"C:\\windows\""}))
        << run.output;
  }
  TemporaryFolderSetting root("C:\\");
  HostRun run = Session("", "GetTempFolder()\nGetUserName()\nGetUserLongName()\nGetComputerName()\n");
  const std::vector<std::string> lines = ResultLines(run.output);
  ASSERT_EQ(lines.size(), 4u) << run.output;
  EXPECT_EQ(lines[0], "\"C:\"");
  char user[256];
  DWORD size = sizeof user;
  GetUserNameA(user, &size);
  EXPECT_EQ(lines[1], "\"" + std::string(user) + "\"");
  EXPECT_EQ(lines[2], lines[1]);
  char computer[256];
  size = sizeof computer;
  GetComputerNameA(computer, &size);
  EXPECT_EQ(lines[3], "\"" + std::string(computer) + "\"");
}

TEST(NelSession, ProcessNameSystemIdAndMacAddress) {
  HostRun run = Session("", "GetProcessName()\nGetSystemID()\nGetMacAddress()\n");
  const std::vector<std::string> lines = ResultLines(run.output);
  ASSERT_EQ(lines.size(), 3u) << run.output;
  // xtrahost.exe's own command line: its path, then the Xtra's.
  EXPECT_NE(lines[0].find("xtrahost.exe\r"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("\rZ:\\"), std::string::npos) << lines[0];
  HKEY key = nullptr;
  char productId[256] = {};
  DWORD size = sizeof productId - 1;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0, KEY_QUERY_VALUE, &key),
            ERROR_SUCCESS);
  RegQueryValueExA(key, "ProductId", nullptr, nullptr, reinterpret_cast<BYTE*>(productId), &size);
  RegCloseKey(key);
  EXPECT_EQ(lines[1], "\"" + std::string(productId) + "\"");
  ASSERT_EQ(lines[2].size(), 19u) << lines[2];
  EXPECT_NE(lines[2], "\"00:00:00:00:00:00\"");
  EXPECT_EQ(lines[2][3], ':');
}

TEST(NelSession, InputMethodOfTheStageWindow) {
  const std::string script =
      "SetIMEOpenState(1)\nGetIMEOpenState()\nSetIMEConversion(9)\nGetIMEConversion()\n"
      "SetIMEOpenState(0)\nGetIMEOpenState()\n";
  HostRun run = Session("", script);
  EXPECT_EQ(ResultLines(run.output), (std::vector<std::string>{"1", "1", "1", "9", "1", "0"})) << run.output;
  // Without a stage window there is no input context: only the open-state setter says 1.
  HostRun without = Session("--without stage", script);
  EXPECT_EQ(ResultLines(without.output), (std::vector<std::string>{"1", "0", "0", "0", "1", "0"})) << without.output;
}

// ---- dialogs, driven by the GUI robot ------------------------------------------------------

// Runs the robot's steps on a thread of its own while the session waits in its dialogs.
// After a failed step it cancels every dialog that comes up, so the session still ends.
struct Robot {
  std::vector<std::function<bool()>> steps;
  std::string failure;
  volatile LONG sessionEnded = 0;

  static DWORD WINAPI Run(void* self) {
    auto* robot = static_cast<Robot*>(self);
    for (size_t i = 0; i < robot->steps.size(); ++i) {
      if (robot->steps[i]()) continue;
      robot->failure = "step " + std::to_string(i) + ": " + winrobot::LastError();
      while (!robot->sessionEnded) {
        for (const char* title : {"Open", "Save As", "Color"}) {
          if (HWND dialog = FindWindowA(nullptr, title)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        Sleep(200);
      }
      return 1;
    }
    return 0;
  }
};

HostRun SessionWithRobot(const std::string& script, Robot& robot) {
  HANDLE thread = CreateThread(nullptr, 0, &Robot::Run, &robot, 0, nullptr);
  HostRun run = Session("", script);
  InterlockedExchange(&robot.sessionEnded, 1);
  WaitForSingleObject(thread, 60000);
  CloseHandle(thread);
  return run;
}

constexpr int kWaitMs = 30000;
constexpr char kFileName[] = "#1148";  // the dialogs' file name field
constexpr char kFileType[] = "#1136";
constexpr char kFolder[] = "#1137";  // "Look in" / "Save in"

// What a file dialog showed when it came up: the folder, the file name and the file type.
struct Shown {
  std::string folder = "?";
  std::string name = "?";
  std::string type = "?";
};

std::function<bool()> Answer(const char* title, const char* button, Shown* shown) {
  return [=]() {
    HWND dialog = winrobot::WaitForWindow(title, kWaitMs);
    if (!dialog || !winrobot::WaitForControl(dialog, kFileName, kWaitMs)) return false;
    shown->folder = winrobot::WindowText(winrobot::FindControl(dialog, kFolder));
    shown->name = winrobot::WindowText(winrobot::FindControl(dialog, kFileName));
    shown->type = winrobot::WindowText(winrobot::FindControl(dialog, kFileType));
    return winrobot::ClickButton(dialog, button) && winrobot::WaitForWindowGone(dialog, kWaitMs);
  };
}

TEST(NelDialogs, OpenAndSaveFollowTheirInitialFolderRules) {
  const std::string folder = TempPath("nel_dialogs");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string existing = folder + "\\existing.txt";
  std::ofstream(existing) << "x";
  Shown openEmpty, openMissing, openFile, save, saveMissing;
  Robot robot;
  robot.steps = {
      Answer("Open", "#2", &openEmpty),       // empty path: no folder, no name
      Answer("Open", "#2", &openMissing),     // a missing folder: opens in its parent
      Answer("Open", "#1", &openFile),        // an existing file is selected
      Answer("Save As", "#1", &save),         // existing folder: opens there, name filled in
      Answer("Save As", "#2", &saveMissing),  // missing folder: neither
  };
  HostRun run = SessionWithRobot(
      "GetOpenFileName(\"\", \"All |*.*|\")\n"
      "GetOpenFileName(\"" + Slashed(folder) + "/missing\", \"Text|*.txt\")\n"
      "GetOpenFileName(\"" + Slashed(existing) + "\", \"All |*.*|\")\n"
      "GetSaveFileName(\"" + Slashed(folder) + "/new.txt\", \"All |*.*|\")\n"
      "GetSaveFileName(\"" + Slashed(folder) + "/missing/new.txt\", \"All |*.*|\")\n",
      robot);
  EXPECT_EQ(robot.failure, "");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(ResultLines(run.output), (std::vector<std::string>{"\"\"", "\"\"", "\"" + existing + "\"",
                                                               "\"" + folder + "\\new.txt\"", "\"\""}))
      << run.output;
  EXPECT_EQ(openEmpty.name, "");
  EXPECT_EQ(openMissing.folder, "nel_dialogs");
  EXPECT_EQ(openMissing.name, "");
  EXPECT_EQ(openMissing.type, "Text");  // a filter without its closing "|"
  EXPECT_EQ(openFile.folder, "nel_dialogs");
  EXPECT_EQ(openFile.name, "existing.txt");
  EXPECT_EQ(save.folder, "nel_dialogs");
  EXPECT_EQ(save.name, "new.txt");
  EXPECT_EQ(saveMissing.name, "");  // and the folder is the dialog's own choice
  DeleteFileA(existing.c_str());
  RemoveDirectoryA(folder.c_str());
}

// Clicks the first cell of the colour dialog's custom colours.
bool ClickFirstCustomColour(HWND dialog) {
  HWND area = winrobot::FindControl(dialog, "#721");
  if (!area) return false;
  RECT rect;
  GetWindowRect(area, &rect);
  POINT point = {rect.left + 4, rect.top + 4};
  ScreenToClient(dialog, &point);
  const LPARAM at = MAKELPARAM(point.x, point.y);
  PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(dialog, WM_LBUTTONUP, 0, at);
  Sleep(300);
  return true;
}

TEST(NelDialogs, ChooseColorReturnsTheColourAndKeepsCustomColours) {
  Robot robot;
  robot.steps = {
      [] {
        HWND dialog = winrobot::WaitForWindow("Color", kWaitMs);
        return dialog && winrobot::SetEditText(dialog, "#706", "10") && winrobot::SetEditText(dialog, "#707", "20") &&
               winrobot::SetEditText(dialog, "#708", "30") && winrobot::ClickButton(dialog, "#712") &&
               winrobot::ClickButton(dialog, "#1") && winrobot::WaitForWindowGone(dialog, kWaitMs);
      },
      [] {
        HWND dialog = winrobot::WaitForWindow("Color", kWaitMs);
        return dialog && ClickFirstCustomColour(dialog) && winrobot::ClickButton(dialog, "#1") &&
               winrobot::WaitForWindowGone(dialog, kWaitMs);
      },
      [] {
        HWND dialog = winrobot::WaitForWindow("Color", kWaitMs);
        return dialog && winrobot::ClickButton(dialog, "#2") && winrobot::WaitForWindowGone(dialog, kWaitMs);
      },
  };
  HostRun run = SessionWithRobot("ChooseColor(rgb(0, 0, 0))\nChooseColor(rgb(200, 100, 50))\nChooseColor(rgb(1, 2, 3))\n",
                                 robot);
  EXPECT_EQ(robot.failure, "");
  EXPECT_EQ(ResultLines(run.output), (std::vector<std::string>{"rgb(10, 20, 30)", "rgb(10, 20, 30)", "0"}))
      << run.output;
}

}  // namespace
