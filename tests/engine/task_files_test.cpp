// The executor over the real operations, on files and folders under the temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/folder_tree.h"
#include "common/system_operations.h"
#include "installer/engine/task_executor.h"
#include "installer/engine/task_operations_win32.h"
#include "installer/engine/uninstall_writer.h"
#include "tests/support/test_support.h"

namespace corvalis {
namespace {

using testing::Exists;
using testing::KeyExists;
using testing::ReadNumber;
using testing::ReadText;
using testing::RemoveTree;
using testing::ReadWholeFile;
using testing::TempPath;
using testing::UniqueName;

std::string Line(std::initializer_list<std::string> fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : std::string(1, kFieldSeparator)) + field;
  return line;
}

TEST(TaskFilesTest, FileAndFolderTasksOnDisk) {
  const std::string root = TempPath() + UniqueName("CorvTasks") + "\\";
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  InstallSession session;
  SystemTaskOperations operations;
  auto run = [&](std::initializer_list<std::string> fields) { ExecuteTask(session, {"T", Line(fields)}, operations); };

  run({"CREATEFOLDER", root + "made "});
  EXPECT_TRUE(Exists(root + "made\\")) << "trailing space cut";
  run({"CREATEFOLDER", root + "made"});  // exists already: not ours to undo
  ASSERT_EQ(session.UndoLog.size(), 1u);
  EXPECT_EQ(session.UndoLog[0].Line, Line({"CREATEFOLDER", root + "made \\"}));

  ASSERT_EQ(WriteWholeFile(root + "a.txt", "alpha"), 1);
  run({"COPYFILE", root + "a.txt", root + "made\\b.txt"});
  run({"MOVEFILE", root + "a.txt", root + "made\\c.txt"});
  EXPECT_EQ(ReadWholeFile(root + "made\\b.txt"), "alpha");
  EXPECT_EQ(ReadWholeFile(root + "made\\c.txt"), "alpha");
  EXPECT_FALSE(Exists(root + "a.txt"));
  // A move whose copy fails keeps its source.
  run({"MOVEFILE", root + "made\\c.txt", root + "missing\\c.txt"});
  EXPECT_TRUE(Exists(root + "made\\c.txt"));

  // Without the recursive flag a folder with subfolders only loses its own files.
  ASSERT_TRUE(CreateDirectoryA((root + "made\\sub").c_str(), nullptr));
  ASSERT_EQ(WriteWholeFile(root + "made\\sub\\locked.txt", "x"), 1);
  SetFileAttributesA((root + "made\\sub\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  run({"DELETEFOLDER", root + "made", "0", "0"});
  EXPECT_FALSE(Exists(root + "made\\b.txt"));
  EXPECT_TRUE(Exists(root + "made\\sub\\locked.txt"));
  run({"DELETEFOLDER", root + "made", "1", "0"});
  EXPECT_TRUE(Exists(root + "made\\sub\\locked.txt")) << "read-only without force";
  run({"DELETEFOLDER", root + "made", "1", "1"});
  EXPECT_FALSE(Exists(root + "made\\"));

  session.InstallPath = root;
  session.UninstallDataPath = root + "Uninst0.dat";
  session.ScriptSettings.AppName = "Sample";
  EXPECT_EQ(WriteUninstallData(session, operations, "", "20261207"), 0);
  const std::string data = ReadWholeFile(session.UninstallDataPath);
  EXPECT_EQ(data.rfind("[uConfig]\r\nAppName = Sample\r\n", 0), 0u) << data;
  EXPECT_NE(data.find("[InstTasks]\r\nT = CREATEFOLDER"), std::string::npos);

  DeleteFolderTree(root);
  EXPECT_FALSE(Exists(root));
}

TEST(TaskFilesTest, RegistryTasksAndUninstallEntry) {
  const std::string name = UniqueName("CorvTasks");
  const std::string key = "Software\\" + name;
  InstallSession session;
  SystemTaskOperations operations;
  auto run = [&](const std::string& line) { ExecuteTask(session, {"R", line}, operations); };
  const std::string addValue = Line({"REGADDVALUE", "HKCU", "Greeting", "hello", key, "REG_SZ"});

  run(addValue);  // the key isn't there yet: nothing written, nothing recorded
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
  run(Line({"REGADDKEY", "HKCU", "", "", key}));
  run(addValue);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, "Greeting"), "hello");
  ASSERT_EQ(session.UndoLog.size(), 2u);
  EXPECT_EQ(session.UndoLog[1].Line, addValue);
  run(Line({"REGDELVALUE", "HKCU", "Greeting", "", key}));
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, "Greeting"), "<missing>");
  run(Line({"REGDELKEY", "HKCU", "", "", key}));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));

  const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + name;
  UninstallEntry values;
  values.DisplayName = name;
  values.Website = "http://127.0.0.1/";
  values.UninstallCommand = "\"C:\\My App\\Uninst0.exe\"";
  values.EstimatedSizeKiB = 1234;
  ASSERT_EQ(RegisterUninstallEntry(operations, values), 1);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "HelpLink"), "http://127.0.0.1/");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "UninstallString"), "\"C:\\My App\\Uninst0.exe\"");
  EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, entry, "EstimatedSize"), 1234);
  EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, entry, "NoRepair"), 1);
  RemoveTree(HKEY_LOCAL_MACHINE, entry);
}

}  // namespace
}  // namespace corvalis
