// The uninstall data format: what the installer writes is what the uninstaller reads.
#include <gtest/gtest.h>

#include "common/task_types.h"
#include "common/uninstall_data.h"

namespace corvalis {
namespace {

TEST(UninstallData, WrittenAsCrLfGroupsAndReadBack) {
  UninstallData data;
  data.Texts = {{"Key0", "Remove?"}, {"Key1", "Done"}};
  data.AppName = "Sample";
  data.InstallPath = "C:\\Program Files\\Sample\\";
  data.RebootRequired = 1;
  data.SkipExtString = "ini,cfg";
  // Two undo entries of one name: both stay, the later under a numbered key.
  data.InstTasks = {{"AutoStartMenuGroup", "CREATEFOLDER\xB6" "C:\\Menu\\"},
                    {"Reg", "REGADDKEY\xB6HKCU"},
                    {"autostartmenugroup", "CREATEFOLDER\xB6" "C:\\Other\\"}};
  data.Files = {"C:\\Program Files\\Sample\\a.txt", "C:\\Program Files\\Sample\\Docs\\b.txt"};

  const std::string bytes = FormatUninstallData(data);
  EXPECT_EQ(bytes,
            "[LocalizationUninstall]\r\nKey0 = Remove?\r\nKey1 = Done\r\n"
            "[uConfig]\r\nAppName = Sample\r\nInstallPath = C:\\Program Files\\Sample\\\r\n"
            "RebootRequired = 1\r\nSkipExtString = ini,cfg\r\n"
            "[InstTasks]\r\nAutoStartMenuGroup = CREATEFOLDER\xB6" "C:\\Menu\\\r\n"
            "Reg = REGADDKEY\xB6HKCU\r\n"
            "autostartmenugroup2 = CREATEFOLDER\xB6" "C:\\Other\\\r\n"
            "[Files]\r\nCopyFile0 = C:\\Program Files\\Sample\\a.txt\r\n"
            "CopyFile1 = C:\\Program Files\\Sample\\Docs\\b.txt\r\n")
      << "no UninstTasks group without uninstallation tasks";

  const UninstallData read = ParseUninstallData(bytes);
  EXPECT_EQ(read.Texts, data.Texts);
  EXPECT_EQ(read.AppName, "Sample");
  EXPECT_EQ(read.InstallPath, data.InstallPath);
  EXPECT_EQ(read.RebootRequired, 1);
  EXPECT_EQ(read.SkipExtString, "ini,cfg");
  ASSERT_EQ(read.InstTasks.size(), 3u);
  EXPECT_EQ(read.InstTasks[2].Line, "CREATEFOLDER\xB6" "C:\\Other\\");
  EXPECT_TRUE(read.UninstTasks.empty());
  EXPECT_EQ(read.Files, data.Files);
}

// Thousands of records of one name (a long task list written by a tool) each keep their
// own numbered key, in the order of the first free number, and quickly.
TEST(UninstallData, ManyRecordsOfOneName) {
  UninstallData data;
  data.InstTasks = {{"Reg", "a"}, {"Reg2", "b"}, {"reg", "c"}, {"REG", "d"}};
  for (int i = 0; i < 10000; ++i) data.InstTasks.push_back({"Name", "x"});
  const UninstallData read = ParseUninstallData(FormatUninstallData(data));
  ASSERT_EQ(read.InstTasks.size(), data.InstTasks.size());
  EXPECT_EQ(read.InstTasks[2].Name, "reg3") << "Reg2 is taken by a name of its own";
  EXPECT_EQ(read.InstTasks[3].Name, "REG4");
  EXPECT_EQ(read.InstTasks[4].Name, "Name");
  EXPECT_EQ(read.InstTasks.back().Name, "Name10000");
}

TEST(UninstallData, AnUpgradeTakesOverTheEarlierInstallation) {
  UninstallData data;
  data.InstTasks = {{"Key", "REGADDKEY\xB6HKLM\xB6\xB6\xB6" "Software\\Acme"}};
  data.Files = {"C:\\App\\new.exe", "C:\\App\\same.txt"};
  UninstallData earlier;
  earlier.InstTasks = {{"OldKey", "REGADDKEY\xB6HKLM\xB6\xB6\xB6" "Software\\Acme"},
                       {"Link", "NORMALLINK\xB6" "C:\\Desktop\\Old.lnk"}};
  earlier.Files = {"C:\\App\\SAME.txt", "C:\\App\\old.dll"};
  AdoptInstallation(&data, earlier, UninstallerFilePath("C:\\App\\", 0, ".exe"),
                    UninstallerFilePath("C:\\App\\", 0, ".dat"));
  ASSERT_EQ(data.InstTasks.size(), 2u) << "a record both made is undone once";
  EXPECT_EQ(data.InstTasks[1].Name, "Link");
  EXPECT_EQ(data.Files, (std::vector<std::string>{"C:\\App\\new.exe", "C:\\App\\same.txt", "C:\\App\\old.dll",
                                                  "C:\\App\\Uninst0.exe", "C:\\App\\Uninst0.dat"}));
}

// Every record an installation task writes reads back as the kind it was written as, and
// the uninstaller also knows the records the installer doesn't write itself.
TEST(UninstallData, RecordsReadBackAsTheirKind) {
  std::size_t count = 0;
  const TaskTypeInfo* types = TaskTypes(TaskList::Install, &count);
  for (std::size_t i = 0; i < count; ++i) {
    const UndoKind kind = types[i].Records;
    if (kind == UndoKind::None || kind == UndoKind::RegistryValue || kind == UndoKind::RegistryKey) continue;
    const std::string record = UndoRecord(kind, "C:\\x", "ext");
    EXPECT_EQ(UndoKindOf(record), kind) << types[i].Keyword;
    EXPECT_EQ(Field(record, 2), "C:\\x") << types[i].Keyword;
  }
  EXPECT_EQ(UndoRecord(UndoKind::Association, "app.exe", "ext"), "ASSOCIATEEXTENSION\xB6" "app.exe\xB6" "ext");
  EXPECT_EQ(UndoKindOf("INTERNETLINK\xB6" "C:\\a.url"), UndoKind::LinkFile);
  EXPECT_EQ(UndoKindOf("DOWNLOADFILE\xB6http://h/f\xB6" "C:\\f"), UndoKind::DownloadedFile);
  EXPECT_EQ(UndoKindOf("REGADDVALUE\xB6HKCU\xB6n\xB6v\xB6k\xB6REG_SZ"), UndoKind::RegistryValue);
  EXPECT_EQ(UndoKindOf("normallink\xB6" "C:\\a.lnk"), UndoKind::None) << "keywords are upper case";
  EXPECT_EQ(UndoKindOf("DELETEFILE\xB6" "C:\\a"), UndoKind::None);
  EXPECT_EQ(TaskTypeOf("RUN\xB6" "1", TaskList::Uninstall), TaskType::Run);
  EXPECT_EQ(TaskTypeOf("LAUNCHBROWSER\xB6x", TaskList::Install), TaskType::None);
}

}  // namespace
}  // namespace corvalis
