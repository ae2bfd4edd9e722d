// The shipped files read back as Windows loads them: what they import must exist on
// Windows XP SP3 and come from the system folder (Wine provides every function whatever
// version it reports, so only reading the tables shows this), and the programs carry the
// elevation manifest and nothing more.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "tests/shipping/pe_image.h"

using pe_audit::PeImage;

namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    line.erase(line.find_last_not_of(" \t\r") + 1);
    line.erase(0, line.find_first_not_of(" \t"));
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

// The reviewed list: "[dll]" lines, each followed by the functions allowed from it.
std::map<std::string, std::set<std::string>> AllowedImports() {
  std::map<std::string, std::set<std::string>> allowed;
  std::set<std::string>* functions = nullptr;
  for (const std::string& line : Lines(ReadBytes(ALLOWED_IMPORTS))) {
    if (line.front() == '[' && line.back() == ']') {
      functions = &allowed[Lower(line.substr(1, line.size() - 2))];
    } else if (functions) {
      functions->insert(line);
    }
  }
  return allowed;
}

struct Deliverable {
  std::string name;
  PeImage image;
};

std::vector<Deliverable> ReadDeliverables() {
  std::vector<Deliverable> deliverables;
  const char* override = std::getenv("CORVALIS_DIST");
  const std::string dist = override ? override : CORVALIS_DIST_DIR;
  for (const std::string& name : Lines(ReadBytes(dist + "/deliverables.txt"))) {
    Deliverable d{name, {}};
    std::string error;
    EXPECT_TRUE(pe_audit::ReadPeImage(ReadBytes(dist + "/" + name), &d.image, &error)) << name << ": " << error;
    deliverables.push_back(d);
  }
  return deliverables;
}

// The element names of an XML text, in order.
std::vector<std::string> ElementNames(const std::string& xml) {
  std::vector<std::string> names;
  for (size_t at = xml.find('<'); at != std::string::npos; at = xml.find('<', at + 1)) {
    if (at + 1 < xml.size() && std::isalpha(static_cast<unsigned char>(xml[at + 1]))) {
      size_t end = xml.find_first_of(" \t\r\n/>", at + 1);
      names.push_back(xml.substr(at + 1, end - at - 1));
    }
  }
  return names;
}

}  // namespace

TEST(ShippedFiles, ImportOnlyReviewedFunctionsOfSystemDllsThatXpHas) {
  const auto allowed = AllowedImports();
  ASSERT_FALSE(allowed.empty()) << ALLOWED_IMPORTS;
  std::vector<Deliverable> deliverables = ReadDeliverables();
  std::set<std::string> names;
  for (const Deliverable& d : deliverables) names.insert(d.name);
  for (const char* expected : {"Installer.exe", "nelXtra.x32", "NetWireXtra.x32"}) {
    EXPECT_EQ(names.count(expected), 1u) << expected << " missing from deliverables.txt";
  }

  std::string offences;
  for (const Deliverable& d : deliverables) {
    EXPECT_FALSE(d.image.imports.empty()) << d.name;
    for (const pe_audit::ImportedDll& dll : d.image.imports) {
      auto list = allowed.find(Lower(dll.name));
      if (list == allowed.end()) {
        offences += d.name + ": " + dll.name + (dll.delayLoaded ? " (delay-loaded)" : "") + "\n";
        continue;
      }
      for (const std::string& function : dll.functions) {
        if (!list->second.count(function)) offences += d.name + ": " + dll.name + " " + function + "\n";
      }
    }
  }
  EXPECT_EQ(offences, "") << "imports not on " << ALLOWED_IMPORTS;
}

// Administrator rights and DPI awareness, nothing else (no other library versions).
TEST(ShippedFiles, ProgramsAskForAdministratorRightsAndDeclareDpiAwareness) {
  const std::string wanted = ReadBytes(ELEVATION_MANIFEST);
  const std::vector<std::string> onlyElements = {"assembly", "trustInfo", "security", "requestedPrivileges",
                                                 "requestedExecutionLevel", "application", "windowsSettings",
                                                 "dpiAware", "dpiAwareness"};
  ASSERT_EQ(ElementNames(wanted), onlyElements);
  ASSERT_NE(wanted.find("level=\"requireAdministrator\""), std::string::npos);

  int programs = 0;
  for (const Deliverable& d : ReadDeliverables()) {
    for (const std::string& section : d.image.sectionNames) {
      EXPECT_NE(section.rfind(".debug", 0), 0u) << d.name << " carries " << section;
    }
    if (Lower(d.name).size() < 4 || Lower(d.name).substr(d.name.size() - 4) != ".exe") continue;
    ++programs;
    EXPECT_EQ(d.image.manifest, wanted) << d.name;
  }
  EXPECT_GE(programs, 1);
}

TEST(PeImage, RefusesWhatIsNoImage) {
  PeImage image;
  std::string error;
  for (const std::string& bad : {std::string(), std::string("MZ"), std::string("MZ") + std::string(0x3E, '\0'),
                                 std::string("MZ") + std::string(0x3A, '\0') + std::string("\x40\0\0\0", 4) +
                                     std::string("PE\0\0", 4)}) {
    EXPECT_FALSE(pe_audit::ReadPeImage(bad, &image, &error)) << bad.size();
    EXPECT_FALSE(error.empty());
  }
}
