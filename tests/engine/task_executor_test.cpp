// The task executor on plain task lines: what it asks of the system, which status line it
// shows and what it leaves in the undo log. "|" stands for the pilcrow below.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "installer/engine/task_executor.h"
#include "tests/engine/recording_operations.h"
#include "tests/support/task_lines.h"

namespace corvalis {
namespace {

std::string Joined(const std::vector<std::string>& parts) {
  std::string joined;
  for (const std::string& part : parts) joined += (joined.empty() ? "" : "; ") + part;
  return joined;
}

struct Case {
  const char* line;
  const char* calls;   // "; " between calls, "|" between arguments
  const char* status;  // "; " between status lines
  const char* undo;    // empty: nothing recorded
  const char* failing = "";
  int os = 60;
};

const Case kCases[] = {
    {"RUN|1|1|1|C:\\App\\a.exe|-x|Tool", "RunProgram C:\\App\\a.exe|-x|C:\\App\\|0|1", "K71", ""},
    {"RUN|0|0|1|C:\\a.exe", "RunProgram C:\\a.exe||C:\\|5|0", "K71", ""},
    {"RUN|0|0|0|C:\\a.exe", "", "", ""},
    {"RUN|0|0|1", "", "", ""},
    {"REGADDVALUE|HKCU|Name|Data|Software\\X|REG_SZ", "SetRegistryValue 80000001|Software\\X|Name|Data|1", "K72",
     "REGADDVALUE|HKCU|Name|Data|Software\\X|REG_SZ"},
    {"REGADDVALUE|HKLM|N|7|K|REG_DWORD", "SetRegistryValue 80000002|K|N|7|4", "K72", "REGADDVALUE|HKLM|N|7|K|REG_DWORD"},
    // An unknown type writes nothing, yet the key opened: success, recorded.
    {"REGADDVALUE|HKLM|N|7|K|REG_BINARY", "SetRegistryValue 80000002|K|N|7|0", "K72",
     "REGADDVALUE|HKLM|N|7|K|REG_BINARY"},
    {"REGADDVALUE|HKEY_CURRENT_USER|N|D|K|REG_SZ", "SetRegistryValue 0|K|N|D|1", "", ""},
    {"REGADDVALUE|HKCU|N|D|K|REG_SZ", "SetRegistryValue 80000001|K|N|D|1", "", "", "SetRegistryValue"},
    {"REGADDKEY|HKLM|||Software\\Y", "CreateRegistryKey 80000002|Software\\Y", "K73", "REGADDKEY|HKLM|||Software\\Y"},
    {"REGADDKEY|HKLM", "CreateRegistryKey 80000002|", "", "", "CreateRegistryKey"},
    {"REGDELVALUE|HKCU|N||K", "DeleteRegistryValue 80000001|K|N", "K74", ""},
    {"REGDELKEY|HKCU|||K", "DeleteRegistryKey 80000001|K", "K75", ""},
    {"NORMALLINK|11|App|C:\\P\\app.exe|0|2|Desc",
     "CreateShellLink C:\\P\\app.exe|C:\\Desktop\\App.lnk||Desc|C:\\P\\|1|0|C:\\P\\app.exe|2", "K76",
     "NORMALLINK|C:\\Desktop\\App.lnk"},
    {"NORMALLINK|11|App.LNK|C:\\app.exe|0", "CreateShellLink C:\\app.exe|C:\\Desktop\\App.LNK|||C:\\|1|0|C:\\app.exe|0",
     "K76", "NORMALLINK|C:\\Desktop\\App.LNK"},
    {"NORMALLINK|11|App|C:\\app.exe|1", "", "", ""},
    {"NORMALLINK|11|App|C:\\app.exe|0", "CreateShellLink C:\\app.exe|C:\\Desktop\\App.lnk|||C:\\|1|0|C:\\app.exe|0", "",
     "", "CreateShellLink"},
    {"INTERNETLINK|11|Site|http://x/|0", "CreateInternetShortcut http://x/|C:\\Desktop\\Site.url", "K77",
     "NORMALLINK|C:\\Desktop\\Site.url"},
    {"INTERNETLINK|11|Site.URL|http://x/|0", "CreateInternetShortcut http://x/|C:\\Desktop\\Site.URL", "K77",
     "NORMALLINK|C:\\Desktop\\Site.URL"},
    {"INTERNETLINK|11|Site|http://x/|1", "", "", ""},
    {"DELETEFILE|C:\\a.txt", "RemoveFile C:\\a.txt", "K78", ""},
    {"DELETEFILE", "", "", ""},
    {"MOVEFILE|C:\\a|C:\\b", "CopyFileOver C:\\a|C:\\b; RemoveFile C:\\a", "K79", ""},
    // The source stays when its copy failed.
    {"MOVEFILE|C:\\a|C:\\b", "CopyFileOver C:\\a|C:\\b", "K79", "", "CopyFileOver"},
    {"COPYFILE|C:\\a|C:\\b", "CopyFileOver C:\\a|C:\\b", "K80", "COPYFILE|C:\\b"},
    {"COPYFILE|C:\\a|C:\\b", "CopyFileOver C:\\a|C:\\b", "K80", "", "CopyFileOver"},
    {"CREATEFOLDER|C:\\New", "CreateFolder C:\\New\\", "K81", "CREATEFOLDER|C:\\New\\"},
    {"CREATEFOLDER|C:\\New\\", "CreateFolder C:\\New\\", "K81", "", "CreateFolder"},
    {"DELETEFOLDER|C:\\Old|1|0", "RemoveFolder C:\\Old\\|1|0", "K82", ""},
    {"DELETEFOLDER|C:\\Old\\|0|1", "RemoveFolder C:\\Old\\|0|1", "K82", ""},
    {"DELETEFOLDER| |1|1", "", "K82", ""},
    {"DELETEFOLDER|C:\\|1|1", "", "K82", ""},
    {"DELETEFOLDER|\\\\server\\share|1|1", "", "K82", ""},
    {"ASSOCIATEEXTENSION|txt|Text|C:\\P\\ed.exe|1", "AssociateExtension txt|Text|C:\\P\\ed.exe|C:\\P\\ed.exe,1", "K83",
     "ASSOCIATEEXTENSION|ed.exe|txt"},
    {"DISASSOCIATEEXTENSION|txt|ed.exe", "DisassociateExtension txt|ed.exe", "K84", ""},
    {"DISASSOCIATEEXTENSION|txt", "", "K84", ""},
    {"STARTSERVICE|Svc", "StartServiceByName Svc", "K85", "", "StartServiceByName"},
    {"STARTSERVICE|Svc", "", "", "", "", 30},
    {"STARTSERVICE|Svc", "StartServiceByName Svc", "K85", "", "", 20},
    {"INSTALLSERVICE|svc|Display|C:\\s.exe|Desc|3", "InstallService svc|Display|C:\\s.exe|Desc|3", "K86",
     "INSTALLSERVICE|Display"},
    {"INSTALLSERVICE|svc|Display|C:\\s.exe||7", "InstallService svc|Display|C:\\s.exe||0", "", "", "InstallService"},
    {"INSTALLSERVICE|svc|Display", "", "", ""},
    {"INSTALLSERVICE|svc|Display|C:\\s.exe", "", "", "", "", 40},
    {"STOPSERVICE|Svc", "StopServiceByName Svc", "K87", ""},
    {"REMOVESERVICE|Svc", "RemoveServiceByName Svc", "K88", ""},
    {"REMOVESERVICE|", "", "", ""},
    {"REGISTERSERVER|C:\\x.dll", "RegisterServer C:\\x.dll|1", "K89", "REGISTERSERVER|C:\\x.dll", "RegisterServer"},
    {"UNREGISTERSERVER|C:\\x.dll", "RegisterServer C:\\x.dll|0", "K90", ""},
    {"DOWNLOADFILE|http://h/f|C:\\d\\f", "DownloadFile C:\\d\\f|http://h/f", "K91 (http://h/f)", "", "DownloadFile"},
    {"DOWNLOADFILE|http://h/f", "", "", ""},
    {"INSTALLFONT|Font|C:\\f.ttf", "InstallFont Font|C:\\f.ttf", "", ""},
    {"INSTALLFONT|Font", "", "", ""},
    {"!REBOOT_I", "RestartComputer 0", "", ""},
    {"KILLTASK|a.exe", "", "", ""},
    {"regaddvalue|HKCU|N|D|K|REG_SZ", "", "", ""},
    {"Copyfile|C:\\a|C:\\b", "", "", ""},
    {"", "", "", ""},
    // Fields are read after expansion.
    {"COPYFILE|<DefaultInstallPath>\\a.txt|<desktop>\\<ProgramName>.txt",
     "CopyFileOver C:\\Inst\\a.txt|C:\\Desktop\\Sample.txt", "K80", "COPYFILE|C:\\Desktop\\Sample.txt"},
};

TEST(TaskExecutorTest, EachTaskTypeCallsShowsAndRecords) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.line + std::string(c.failing[0] ? " failing " : "") + c.failing + " on " + std::to_string(c.os));
    InstallSession session;
    for (int key = 0; key < kStubTextCount; ++key) session.StubTexts[key] = "K" + std::to_string(key);
    session.InstallPath = "C:\\Inst\\";
    session.ScriptSettings.AppName = "Sample";
    session.UndoLog.push_back({"Earlier", "CREATEFOLDER|C:\\"});
    RecordingOperations operations;
    operations.osVersionCode = c.os;
    if (c.failing[0]) operations.failing.insert(c.failing);

    EXPECT_EQ(ExecuteTask(session, {"Task", Pilcrows(c.line)}, operations), 1);

    EXPECT_EQ(Joined(operations.calls), c.calls);
    EXPECT_EQ(Joined(operations.statusLines), c.status);
    ASSERT_EQ(session.UndoLog.size(), c.undo[0] ? 2u : 1u) << "appended after what was there";
    if (c.undo[0]) {
      EXPECT_EQ(session.UndoLog[1].Name, "Task");
      EXPECT_EQ(session.UndoLog[1].Line, Pilcrows(c.undo));
    }
    EXPECT_EQ(operations.paused, kTaskPauseMs);
  }
}

// A destination that holds the separator must not shift a line's fields: "C:\Data" would
// pass the folder-tree rule and be force-deleted.
TEST(TaskExecutorTest, SeparatorInAnExpandedValueRefusesTheTask) {
  InstallSession session;
  session.InstallPath = "C:\\Data\xB6New\\";
  RecordingOperations operations;
  for (const char* line : {"DELETEFOLDER|<DefaultInstallPath>cache|1|1", "CREATEFOLDER|<DefaultInstallPath>x"}) {
    EXPECT_EQ(ExecuteTask(session, {"Task", Pilcrows(line)}, operations), 1);
  }
  EXPECT_TRUE(operations.calls.empty()) << Joined(operations.calls);
  EXPECT_TRUE(session.UndoLog.empty());
  ASSERT_EQ(operations.logLines.size(), 2u);
  EXPECT_NE(operations.logLines[0].find("refused"), std::string::npos);
}

}  // namespace
}  // namespace corvalis
