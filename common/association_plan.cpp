#include "common/association_plan.h"

#include "common/ansi_text.h"

namespace corvalis {
namespace {

const char kFileExts[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.";

}  // namespace

std::string OpenCommand(const std::string& program) {
  return "\"" + program + "\" \"%1\"";
}

std::vector<RegistryTextWrite> AssociationWrites(const std::string& ext,
                                                 const std::string& description,
                                                 const std::string& program,
                                                 const std::string& icon, bool ntLayout) {
  const std::string app = FileNamePart(program);
  std::vector<RegistryTextWrite> writes;
  if (ntLayout) {
    const std::string progId = ext + "_auto_file";
    writes.push_back({kRootClasses, "Applications\\" + app + "\\shell\\open\\command", "",
                      OpenCommand(program)});
    if (!description.empty()) {
      writes.push_back({kRootClasses, "." + ext, "", progId});
      writes.push_back({kRootClasses, progId, "", description});
      if (!icon.empty()) writes.push_back({kRootClasses, progId + "\\DefaultIcon", "", icon});
      // Windows 8 and later (and Wine) open a file by its ProgID's command, not by the
      // application's; without it a double click asks for a program.
      writes.push_back({kRootClasses, progId + "\\shell\\open\\command", "", OpenCommand(program)});
    }
    writes.push_back({kRootCurrentUser, kFileExts + ext, "Application", app});
  } else {
    const std::string classes = "Software\\Classes\\";
    writes.push_back({kRootLocalMachine, classes + "." + ext, "", app});
    if (!description.empty()) writes.push_back({kRootLocalMachine, classes + app, "", description});
    if (!icon.empty()) {
      writes.push_back({kRootLocalMachine, classes + app + "\\DefaultIcon", "", icon});
    }
    writes.push_back({kRootLocalMachine, classes + app + "\\shell\\open\\command", "",
                      OpenCommand(program)});
  }
  return writes;
}

std::vector<RegistryKeyRef> AssociationKeys(const std::string& ext, const std::string& app,
                                            bool ntLayout) {
  if (ntLayout) {
    return {{kRootClasses, "Applications\\" + app},
            {kRootClasses, "." + ext},
            {kRootClasses, ext + "_auto_file"},
            {kRootCurrentUser, kFileExts + ext}};
  }
  return {{kRootLocalMachine, "Software\\Classes\\." + ext},
          {kRootLocalMachine, "Software\\Classes\\" + app}};
}

}  // namespace corvalis
