// The uninstaller's two stages over a recorder with an in-memory folder tree: what goes,
// what stays, and in which order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/registry_roots.h"
#include "common/uninstall_data.h"
#include "uninstaller/uninstall_run.h"

namespace corvalis {
namespace {

constexpr char kCopy[] = "C:\\Temp\\42.exe";
constexpr char kCopyData[] = "C:\\Temp\\42.dat";
constexpr char kRoot[] = "C:\\App\\";

// Files (path -> bytes) and folders (paths ending in "\"); every call written down.
class FakeOps final : public UninstallOperations {
 public:
  std::vector<std::string> calls;
  std::vector<int> positions;
  std::map<std::string, std::uint64_t> files;
  std::set<std::string> folders;
  std::set<std::string> readOnly;
  std::set<std::string> inUse;
  bool movesFail = false;
  std::string ownPath = kCopy;
  bool answerYes = true;
  bool restartAnswer = false;
  std::string failCopyTo;
  std::vector<std::uint32_t> numbers = {42};
  int waitResult = 0;

  void AddFile(const std::string& path, std::uint64_t bytes = 10) {
    files[path] = bytes;
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
      folders.insert(path.substr(0, at + 1));
    }
  }
  bool Has(const std::string& path) const { return files.count(path) || folders.count(path); }
  std::size_t IndexOf(const std::string& call) const {
    return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
  }
  bool Called(const std::string& call) const { return IndexOf(call) < calls.size(); }
  int CountOf(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
  }

  void ShowError(const std::string& text) override { calls.push_back("Error " + text); }
  bool AskYesNo(const std::string& title, const std::string& text) override {
    calls.push_back("Ask " + title + "|" + text);
    return calls.size() > 1 && Called("CloseProgressWindow") ? restartAnswer : answerYes;
  }
  void ShowInformation(const std::string& title, const std::string& text) override {
    calls.push_back("Info " + title + "|" + text);
  }
  void OpenProgressWindow(const std::string& button, const std::string& text) override {
    calls.push_back("OpenProgressWindow " + button + "|" + text);
  }
  void ShowProgress(int position) override { positions.push_back(position); }
  void CloseProgressWindow() override { calls.push_back("CloseProgressWindow"); }
  std::string OwnPath() override { return ownPath; }
  std::string CopyFolder() override { return "C:\\Temp\\"; }
  void DiscardCopyFolder() override { calls.push_back("DiscardCopyFolder"); }
  std::uint32_t RandomNumber(std::uint32_t maximum) override {
    EXPECT_EQ(maximum, 77777777u);
    const std::uint32_t n = numbers.front();
    if (numbers.size() > 1) numbers.erase(numbers.begin());
    return n;
  }
  bool PathExists(const std::string& path) override { return Has(path); }
  unsigned long copyError = 5;
  bool CopyNewFile(const std::string& source, const std::string& destination, unsigned long* error) override {
    calls.push_back("Copy " + source + "|" + destination);
    *error = 2;
    if (!files.count(source) || Has(destination)) return false;
    if (destination == failCopyTo) {
      files[destination] = 0;  // a partial copy
      *error = copyError;
      return false;
    }
    files[destination] = files[source];
    return true;
  }
  bool ReadFile(const std::string& path, std::string* bytes) override {
    if (!files.count(path)) return false;
    *bytes = dataBytes;
    return true;
  }
  bool StartProgram(const std::string& program, const std::string& parameters, const std::string& folder,
                    bool hidden) override {
    calls.push_back("Start " + program + "|" + parameters + "|" + folder + (hidden ? "|hidden" : ""));
    return true;
  }
  int StartAndWait(const std::string& program, const std::string& parameters) override {
    calls.push_back("Wait " + program + "|" + parameters);
    return waitResult;
  }
  bool MoveFileTo(const std::string& source, const std::string& destination) override {
    calls.push_back("Move " + source + "|" + destination);
    if (!files.count(source) || movesFail) return false;
    files[destination] = files[source];
    files.erase(source);
    inUse.erase(source);
    return true;
  }
  void SelfDelete(const std::string& alsoDelete, const std::string& alsoFolder) override {
    calls.push_back((alsoDelete.empty() ? "SelfDelete" : "SelfDelete " + alsoDelete) +
                    (alsoFolder.empty() ? "" : " then " + alsoFolder));
  }
  void Log(const std::string&) override {}
  void DeleteRegistryValue(std::uint32_t root, const std::string& key, const std::string& name) override {
    calls.push_back("DeleteValue " + std::to_string(root & 0xF) + "|" + key + "|" + name);
  }
  void DeleteRegistryKey(std::uint32_t root, const std::string& key) override {
    calls.push_back("DeleteKey " + std::to_string(root & 0xF) + "|" + key);
  }
  void DisassociateExtension(const std::string& extension, const std::string& program) override {
    calls.push_back("Disassociate " + extension + "|" + program);
  }
  void RemoveService(const std::string& name) override { calls.push_back("RemoveService " + name); }
  void UnregisterServer(const std::string& path) override { calls.push_back("Unregister " + path); }
  void KillProcesses(const std::string& name) override { calls.push_back("Kill " + name); }
  Removal RemoveFile(const std::string& path) override {
    calls.push_back("RemoveFile " + path);
    if (readOnly.count(path)) return Removal::Kept;
    if (inUse.count(path)) return Removal::InUse;
    files.erase(path);
    return Removal::Gone;
  }
  bool DeleteAtRestart(const std::string& path) override {
    calls.push_back("DeleteAtRestart " + path);
    return true;
  }
  void SetCurrentFolder(const std::string& folder) override { calls.push_back("Cd " + folder); }
  FolderListing ReadFolder(const std::string& folder) override {
    calls.push_back("ReadFolder " + folder);
    FolderListing listing;
    for (const auto& f : folders) {
      if (f.size() > folder.size() && f.compare(0, folder.size(), folder) == 0 &&
          f.find('\\', folder.size()) == f.size() - 1) {
        listing.Subfolders.push_back(f.substr(folder.size(), f.size() - folder.size() - 1));
      }
    }
    for (const auto& f : files) {
      if (f.first.compare(0, folder.size(), folder) == 0 && f.first.find('\\', folder.size()) == std::string::npos) {
        listing.FileBytes += f.second;
      }
    }
    return listing;
  }
  void RemoveEmptyFolder(const std::string& folder) override {
    calls.push_back("RemoveEmptyFolder " + folder);
    const FolderListing listing = ReadFolder(folder);
    calls.pop_back();
    bool hasFiles = std::any_of(files.begin(), files.end(), [&](const auto& f) {
      return f.first.compare(0, folder.size(), folder) == 0;
    });
    if (listing.Subfolders.empty() && !hasFiles) folders.erase(folder);
  }
  void DeleteFolderTree(const std::string& folder) override {
    calls.push_back("DeleteFolderTree " + folder);
    for (auto it = files.begin(); it != files.end();) {
      it = it->first.compare(0, folder.size(), folder) == 0 ? files.erase(it) : std::next(it);
    }
    for (auto it = folders.begin(); it != folders.end();) {
      it = it->compare(0, folder.size(), folder) == 0 ? folders.erase(it) : std::next(it);
    }
  }
  void NotifyAssociationsChanged() override { calls.push_back("Notify"); }
  void RestartComputer() override { calls.push_back("Restart"); }

  std::string dataBytes;
};

UninstallData BaseData() {
  UninstallData data;
  for (int i = 0; i < 8; ++i) data.Texts.push_back({"Key" + std::to_string(i), "T" + std::to_string(i)});
  data.Texts[1].second = "Remove $appname$?";
  data.AppName = "Sample";
  data.InstallPath = kRoot;
  return data;
}

// A prepared stage 2: the copy and its data file in the temporary folder.
void Prepare(FakeOps* ops, const UninstallData& data) {
  ops->dataBytes = FormatUninstallData(data);
  ops->AddFile(kCopy);
  ops->AddFile(kCopyData);
  ops->AddFile("C:\\App\\Uninst0.exe");
  ops->AddFile("C:\\App\\Uninst0.dat");
}

int Uninstall(FakeOps* ops, RunMode mode = RunMode::Interactive) {
  UninstallerOptions options;
  options.InstalledDataPath = "C:\\App\\Uninst0.dat";
  options.InstalledProgramPath = "C:\\App\\Uninst0.exe";
  options.Mode = mode;
  return RunUninstallation(*ops, options);
}

TEST(UninstallRules, NamesPathsAndExtensions) {
  struct NameCase {
    const char* program;
    const char* data;
  } names[] = {
      {"C:\\exeter\\Uninst0.exe", "C:\\exeter\\Uninst0.dat"},
      {"C:\\App\\UNINST3.EXE", "C:\\App\\UNINST3.dat"},
      {"C:\\my.exe.files\\Uninst0", "C:\\my.exe.files\\Uninst0.dat"},
      {"C:\\Temp\\123.exe", "C:\\Temp\\123.dat"},
  };
  for (const auto& c : names) EXPECT_EQ(DataFilePathFor(c.program), c.data) << c.program;

  const std::vector<std::string> kept = ParseKeptExtensions(" INI, log,, ,Cfg ");
  EXPECT_EQ(kept, (std::vector<std::string>{"ini", "log", "cfg"}));
  EXPECT_TRUE(IsKeptExtension(kept, "Log"));
  EXPECT_FALSE(IsKeptExtension(kept, ""));
  EXPECT_EQ(FileExtension("C:\\a.b\\readme"), "");
  EXPECT_EQ(FileExtension("C:\\a\\x.tar.GZ"), "GZ");

  EXPECT_EQ(ProgressPosition(0, 5), 0);
  EXPECT_EQ(ProgressPosition(1, 4), 2);
  EXPECT_EQ(ProgressPosition(9, 4), 10) << "more steps than counted stay at the end";

  // A data file's name in its texts many times over: replaced while the text stays within
  // bounds, left as it is beyond them (a 327 KB file once asked for 2.7 GB).
  UninstallData data = BaseData();
  data.Texts[2].second = std::string(3000, 'x') + "$APPNAME$";
  data.Texts[3].second = "";
  for (int i = 0; i < 4000; ++i) data.Texts[3].second += "$APPNAME$";
  data.AppName = std::string(500, 'A');
  const UninstallSession session = SessionFromData(data);
  EXPECT_EQ(session.UninstallTexts[1], "Remove " + data.AppName + "?");
  EXPECT_EQ(session.UninstallTexts[2], std::string(3000, 'x') + data.AppName);
  EXPECT_EQ(session.UninstallTexts[3], data.Texts[3].second);
}

TEST(UninstallRun, EveryRecordAndTaskIsUndoneInOrder) {
  FakeOps ops;
  UninstallData data = BaseData();
  data.SkipExtString = "ini, log";
  const char sep = '\xB6';
  auto line = [&](std::vector<std::string> fields) {
    std::string text;
    for (const auto& f : fields) text += (text.empty() ? "" : std::string(1, sep)) + f;
    return text;
  };
  data.InstTasks = {
      {"Group", line({"CREATEFOLDER", "C:\\Menu\\Sample\\"})},
      {"Link", line({"NORMALLINK", "C:\\Menu\\Sample\\Run.lnk"})},
      {"Url", line({"INTERNETLINK", "C:\\Menu\\Sample\\Site.url"})},
      {"Value", line({"REGADDVALUE", "HKCU", "Name", "data", "Software\\Sample", "1"})},
      {"Key", line({"REGADDKEY", "HKLM", "", "", "Software\\Sample"})},
      {"Inner", line({"REGADDKEY", "HKLM", "", "", "Software\\Sample\\Inner"})},
      {"OtherRoot", line({"REGADDKEY", "HKCR", "", "", "Software\\Sample"})},
      {"Copy", line({"COPYFILE", "C:\\Other\\copy.txt"})},
      {"Download", line({"DOWNLOADFILE", "http://127.0.0.1/x", "C:\\App\\down.bin"})},
      {"Folder", line({"CREATEFOLDER", "C:\\App\\Made\\"})},
      {"Assoc", line({"ASSOCIATEEXTENSION", "app.exe", "smp"})},
      {"Service", line({"INSTALLSERVICE", "Sample Service"})},
      {"Server", line({"REGISTERSERVER", "C:\\App\\server.dll"})},
      {"GoneServer", line({"REGISTERSERVER", "C:\\App\\gone.dll"})},
      {"Unknown", line({"FONT", "x"})},
  };
  data.UninstTasks = {
      {"Both", line({"RUN", "1", "1", "C:\\Tools\\clean.exe", "/all"})},
      {"Browser", line({"LAUNCHBROWSER", "http://127.0.0.1/bye"})},
  };
  data.Files = {"C:\\App\\app.exe", "C:\\App\\settings.INI", "C:\\App\\Docs\\read.txt", "C:\\App\\Logs\\run.log",
                ""};
  Prepare(&ops, data);
  for (const auto& f : data.Files) {
    if (!f.empty()) ops.AddFile(f);
  }
  ops.AddFile("C:\\Menu\\Sample\\Run.lnk");
  ops.AddFile("C:\\Menu\\Sample\\Site.url");
  ops.AddFile("C:\\Other\\copy.txt");
  ops.AddFile("C:\\App\\down.bin");
  ops.AddFile("C:\\App\\server.dll");
  ops.folders.insert("C:\\App\\Made\\");
  ops.folders.insert("C:\\App\\Empty\\Deeper\\");
  ops.folders.insert("C:\\App\\Empty\\");

  EXPECT_EQ(Uninstall(&ops), 0);

  const std::vector<std::string> undo = {
      "Ask T0|Remove Sample?",
      "OpenProgressWindow T2|T3",
      "Start C:\\Tools\\clean.exe|/all|C:\\Tools\\",
      "Start iexplore.exe|http://127.0.0.1/bye|",
      "DeleteValue 1|Software\\Sample|Name",
      "Disassociate smp|app.exe",
      "RemoveService Sample Service",
      "Unregister C:\\App\\server.dll",
      // Keys after the values, a child before the parent made before it.
      "DeleteKey 2|Software\\Sample\\Inner",
      "DeleteKey 2|Software\\Sample",
      "Kill app.exe",
      "RemoveFile C:\\App\\app.exe",
      "RemoveFile C:\\App\\Docs\\read.txt",
      "RemoveFile C:\\App\\Uninst0.exe",
      "RemoveFile C:\\Menu\\Sample\\Run.lnk",
      "RemoveFile C:\\Other\\copy.txt",
      "Cd C:\\Temp\\",
      "Start C:\\Tools\\clean.exe|/all|C:\\Tools\\",
      "CloseProgressWindow",
      "DeleteKey 2|Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample",
      "Notify",
      "Info T6|T7",
      "RemoveFile C:\\Temp\\42.dat",
      "SelfDelete",
  };
  // In this order, other calls between them (the RUN program starts twice).
  auto from = ops.calls.begin();
  for (const auto& call : undo) {
    const auto at = std::find(from, ops.calls.end(), call);
    EXPECT_NE(at, ops.calls.end()) << "missing or out of order: " << call;
    if (at != ops.calls.end()) from = at + 1;
  }
  EXPECT_EQ(ops.CountOf("DeleteKey"), 3) << "the HKCR record is skipped";
  EXPECT_EQ(ops.CountOf("Unregister"), 1) << "a server file that is gone is not unregistered";
  EXPECT_FALSE(ops.Called("RemoveFile C:\\App\\settings.INI"));
  EXPECT_FALSE(ops.Called("Kill Uninst0.exe")) << "the installed uninstaller is stage 1, never ended";
  EXPECT_FALSE(ops.Called("RemoveFile C:\\App\\Logs\\run.log"));

  // Kept files keep the install folder and their own folders; emptied folders went,
  // the deepest first; the program group went once its shortcuts were gone.
  EXPECT_FALSE(ops.Called("DeleteFolderTree C:\\App\\"));
  EXPECT_TRUE(ops.Has("C:\\App\\settings.INI"));
  EXPECT_TRUE(ops.Has("C:\\App\\Logs\\run.log"));
  EXPECT_TRUE(ops.Has("C:\\App\\Logs\\"));
  for (const char* gone : {"C:\\App\\Made\\", "C:\\App\\Empty\\", "C:\\App\\Empty\\Deeper\\", "C:\\App\\Docs\\",
                           "C:\\Menu\\Sample\\", "C:\\App\\down.bin", "C:\\App\\Uninst0.dat"}) {
    EXPECT_FALSE(ops.Has(gone)) << gone;
  }
  EXPECT_LT(ops.IndexOf("RemoveEmptyFolder C:\\App\\Empty\\Deeper\\"), ops.IndexOf("RemoveEmptyFolder C:\\App\\Empty\\"));

  ASSERT_FALSE(ops.positions.empty());
  EXPECT_TRUE(std::is_sorted(ops.positions.begin(), ops.positions.end()));
  EXPECT_LE(ops.positions.back(), 10);
  // One step for the tasks, one per record, one per non-empty file.
  EXPECT_EQ(ops.positions.size(), 1u + data.InstTasks.size() + 4u + 2u + 4u);
}

TEST(UninstallRun, InstallFolderGoesUnlessAByteRemains) {
  for (std::uint64_t remaining : {0u, 1u}) {
    FakeOps ops;
    UninstallData data = BaseData();
    data.SkipExtString = "txt";
    data.Files = {"C:\\App\\Deep\\Er\\left.txt"};
    Prepare(&ops, data);
    ops.AddFile("C:\\App\\Deep\\Er\\left.txt", remaining);
    ops.AddFile("C:\\App\\Deep\\zero.bin", 0);
    ops.folders.insert("C:\\App\\Side\\");
    Uninstall(&ops);
    EXPECT_EQ(ops.Has(kRoot), remaining == 1) << remaining;
    EXPECT_EQ(ops.Has("C:\\App\\Deep\\Er\\"), remaining == 1) << remaining;
    EXPECT_FALSE(ops.Has("C:\\App\\Side\\")) << remaining;
  }
}

TEST(UninstallRun, DamagedInstallPathRemovesOnlyWhatIsListed) {
  for (const char* installPath : {"", "App\\", "C:\\", "C:\\App\\..\\"}) {
    FakeOps ops;
    UninstallData data = BaseData();
    data.InstallPath = installPath;
    data.Files = {"C:\\App\\a.txt"};
    Prepare(&ops, data);
    ops.AddFile("C:\\App\\a.txt");
    ops.AddFile("C:\\Other\\zero.bin", 0);
    Uninstall(&ops);
    EXPECT_EQ(ops.CountOf("DeleteFolderTree"), 0) << installPath;
    EXPECT_EQ(ops.CountOf("ReadFolder"), 0) << installPath;
    EXPECT_EQ(ops.CountOf("RemoveEmptyFolder"), 0) << installPath;
    EXPECT_FALSE(ops.Has("C:\\App\\a.txt")) << installPath;
    EXPECT_TRUE(ops.Called("SelfDelete")) << installPath;
  }
}

TEST(UninstallRun, NoAtTheConfirmationOnlyCleansUpTheCopy) {
  FakeOps ops;
  ops.answerYes = false;
  UninstallData data = BaseData();
  data.Files = {"C:\\App\\a.txt"};
  Prepare(&ops, data);
  EXPECT_EQ(Uninstall(&ops), 1602);
  EXPECT_EQ(ops.calls, (std::vector<std::string>{"Ask T0|Remove Sample?", "RemoveFile C:\\Temp\\42.dat",
                                                  "SelfDelete"}));
}

TEST(UninstallRun, RestartQuestionReplacesTheSuccessMessage) {
  for (bool yes : {false, true}) {
    FakeOps ops;
    ops.restartAnswer = yes;
    UninstallData data = BaseData();
    data.RebootRequired = 1;
    data.AppName = "";
    Prepare(&ops, data);
    EXPECT_EQ(Uninstall(&ops), yes ? 1641 : 3010);
    EXPECT_TRUE(ops.Called("Ask T4|T5"));
    EXPECT_EQ(ops.Called("Restart"), yes);
    EXPECT_EQ(ops.CountOf("Info"), 0);
    EXPECT_EQ(ops.CountOf("DeleteKey"), 0) << "no uninstall entry without a name";
    EXPECT_TRUE(ops.positions.size() == 2u) << "no step for tasks that aren't there";
  }
}

// A file in use goes at the next restart, with its folders; then the restart question
// stands in for the success message, as when the package asks for a restart.
TEST(UninstallRun, FileInUseGoesAtTheNextRestart) {
  FakeOps ops;
  UninstallData data = BaseData();
  data.Files = {"C:\\App\\Docs\\manual.txt", "C:\\App\\b.txt"};
  Prepare(&ops, data);
  ops.AddFile("C:\\App\\Docs\\manual.txt");
  ops.AddFile("C:\\App\\b.txt");
  ops.inUse.insert("C:\\App\\Docs\\manual.txt");
  EXPECT_EQ(Uninstall(&ops), 3010);
  EXPECT_FALSE(ops.Has("C:\\App\\b.txt"));
  EXPECT_LT(ops.IndexOf("DeleteAtRestart C:\\App\\Docs\\manual.txt"), ops.IndexOf("DeleteAtRestart C:\\App\\Docs\\"));
  EXPECT_LT(ops.IndexOf("DeleteAtRestart C:\\App\\Docs\\"), ops.IndexOf("DeleteAtRestart C:\\App\\"));
  EXPECT_TRUE(ops.Called("Ask T4|T5"));
  EXPECT_EQ(ops.CountOf("Info"), 0);
}

TEST(UninstallRun, MissingDataFileIsReported) {
  FakeOps ops;
  EXPECT_EQ(Uninstall(&ops), 1603);
  EXPECT_EQ(ops.calls, (std::vector<std::string>{"Error The uninstallation script is missing!\r\n\r\n(C:\\Temp\\42.dat)"}));
}

TEST(UninstallStart, CopiesBothFilesUnderAFreeNameAndStartsTheCopy) {
  FakeOps ops;
  ops.ownPath = "C:\\exeter\\Uninst0.exe";
  ops.AddFile(ops.ownPath);
  ops.AddFile("C:\\exeter\\Uninst0.dat");
  ops.AddFile("C:\\Temp\\7.dat");  // 7 is taken by a data file alone
  ops.numbers = {7, 42};
  EXPECT_EQ(StartFromTempCopy(ops, UninstallerOptions()), 0);
  EXPECT_EQ(ops.calls, (std::vector<std::string>{
                           "Copy C:\\exeter\\Uninst0.exe|C:\\Temp\\42.exe",
                           "Copy C:\\exeter\\Uninst0.dat|C:\\Temp\\42.dat",
                           "Wait C:\\Temp\\42.exe|\"C:\\exeter\\Uninst0.dat\" \"C:\\exeter\\Uninst0.exe\"",
                       }));

  // A silent run hands its switches on and waits for the copy's result.
  FakeOps silent;
  silent.ownPath = "C:\\App\\Uninst0.exe";
  silent.AddFile(silent.ownPath);
  silent.AddFile("C:\\App\\Uninst0.dat");
  silent.waitResult = 3010;
  const UninstallerOptions options = ReadUninstallerOptions("/S /LOG=\"C:\\logs\\u.log\"");
  EXPECT_EQ(StartFromTempCopy(silent, options), 3010);
  EXPECT_EQ(silent.calls.back(),
            "Wait C:\\Temp\\42.exe|\"C:\\App\\Uninst0.dat\" \"C:\\App\\Uninst0.exe\" /VERYSILENT /LOG=\"C:\\logs\\u.log\"");
}

TEST(UninstallStart, FailedCopyLeavesNothingBehind) {
  enum Case { kDataMissing, kPartialCopy, kEveryNameTaken };
  for (Case c : {kDataMissing, kPartialCopy, kEveryNameTaken}) {
    FakeOps ops;
    ops.ownPath = "C:\\App\\Uninst0.exe";
    ops.AddFile(ops.ownPath);
    if (c != kDataMissing) ops.AddFile("C:\\App\\Uninst0.dat");
    if (c == kPartialCopy) ops.failCopyTo = kCopyData;
    if (c == kEveryNameTaken) ops.AddFile("C:\\Temp\\42.dat", 3);
    EXPECT_EQ(StartFromTempCopy(ops, UninstallerOptions()), 1603);
    EXPECT_EQ(ops.Has(kCopyData), c == kEveryNameTaken) << c << ": a partial copy of 0 bytes goes too";
    EXPECT_FALSE(ops.Has(kCopy)) << c;
    EXPECT_EQ(ops.calls.back(), std::string("Error ") + kCopyFailedText) << c;
    EXPECT_EQ(ops.CountOf("Start"), 0) << c;
  }
  // A full temporary volume says so, and ends as deployment tools read a full disk.
  FakeOps full;
  full.ownPath = "C:\\App\\Uninst0.exe";
  full.AddFile(full.ownPath);
  full.AddFile("C:\\App\\Uninst0.dat");
  full.failCopyTo = kCopyData;
  full.copyError = 112;
  EXPECT_EQ(StartFromTempCopy(full, UninstallerOptions()), 112);
  EXPECT_EQ(full.calls.back(), std::string("Error ") + kCopyFailedText + "\r\n\r\n" + kTempFolderFullText);
}

// Silent: nothing asked or shown, no browser, the restart left to the caller, and stage
// 1's file, still running, moved out of the installation so that the folder can go.
TEST(UninstallRun, SilentRunAsksNothingAndTakesStageOneAlong) {
  FakeOps ops;
  UninstallData data = BaseData();
  data.RebootRequired = 1;
  data.UninstTasks = {{"Browser", "LAUNCHBROWSER\xB6http://127.0.0.1/bye"}};
  data.Files = {"C:\\App\\a.txt"};
  Prepare(&ops, data);
  ops.AddFile("C:\\App\\a.txt");
  ops.inUse.insert("C:\\App\\Uninst0.exe");  // running: it won't go
  EXPECT_EQ(Uninstall(&ops, RunMode::VerySilent), 3010);
  for (const char* prefix : {"Ask", "Info", "Start", "Restart", "Kill"}) EXPECT_EQ(ops.CountOf(prefix), 0) << prefix;
  EXPECT_TRUE(ops.Called("Move C:\\App\\Uninst0.exe|C:\\Temp\\42.exe.stage1"));
  EXPECT_FALSE(ops.Has(kRoot)) << "the install folder went";
  EXPECT_EQ(ops.calls.back(), "SelfDelete C:\\Temp\\42.exe.stage1");

  // On another volume it can't move: the self-delete takes it and then the folder.
  FakeOps apart;
  Prepare(&apart, data);
  apart.inUse.insert("C:\\App\\Uninst0.exe");
  apart.movesFail = true;
  EXPECT_EQ(Uninstall(&apart, RunMode::VerySilent), 3010);
  EXPECT_EQ(apart.calls.back(), "SelfDelete C:\\App\\Uninst0.exe then C:\\App\\");
  EXPECT_FALSE(apart.Called("DeleteAtRestart C:\\App\\Uninst0.exe"));

  const UninstallerOptions wrong = ReadUninstallerOptions("\"C:\\A\\Uninst0.dat\" \"C:\\A\\Uninst0.exe\" /x");
  EXPECT_EQ(wrong.InstalledProgramPath, "C:\\A\\Uninst0.exe");
  EXPECT_EQ(wrong.Problem, "unknown parameter \"/x\"");
  EXPECT_TRUE(ReadUninstallerOptions("/SILENT").Log) << "silent runs always log";
  // The installer's switches, as deployment tools pass them to both programs; the restart
  // rules go on to stage 2.
  const struct {
    const char* line;
    RunMode mode;
    const char* stage2;
  } lines[] = {
      {"/VERYSILENT /SUPPRESSMSGBOXES /NORESTART", RunMode::VerySilent, " /VERYSILENT"},
      {"/quiet /norestart", RunMode::VerySilent, " /VERYSILENT"},
      {"/qn", RunMode::VerySilent, " /VERYSILENT"},
      {"/passive /FORCERESTART", RunMode::Silent, " /SILENT /FORCERESTART"},
      {"/NORESTART", RunMode::Interactive, " /NORESTART"},
  };
  for (const auto& line : lines) {
    const UninstallerOptions options = ReadUninstallerOptions(line.line);
    EXPECT_EQ(options.Problem, "") << line.line;
    EXPECT_EQ(options.Mode, line.mode) << line.line;
    EXPECT_EQ(SecondStageSwitches(options), line.stage2) << line.line;
  }
  EXPECT_EQ(ReadUninstallerOptions("", false).Mode, RunMode::VerySilent) << "no desktop: nobody to ask";
}

}  // namespace
}  // namespace corvalis
