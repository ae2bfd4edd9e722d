// The package builder, natively: layout, entries as the installer reads them, and bad
// input that must leave no output behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <unzip.h>
#include <utime.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <map>

#include "installer/package/package_layout.h"
#include "tools/mkinstaller/package_builder.h"

namespace fs = std::filesystem;
using mkinstaller::BuilderOptions;

namespace {

struct Scratch {
  Scratch() {
    char pattern[] = "/tmp/mkinstaller_test.XXXXXX";
    path = mkdtemp(pattern);
  }
  ~Scratch() {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto& item : fs::recursive_directory_iterator(path, ec))
      fs::permissions(item.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
  }
  std::string path;
};

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ZipEntry {
  std::string data;
  unsigned long extraBytes = 0;  // extra fields and comment of the central directory
  int index = 0;                 // place in the archive
  unsigned long dosDate = 0;
  unsigned long externalAttributes = 0;
  int method = -1;
};

std::map<std::string, ZipEntry> ReadZip(const std::string& bytes, const std::string& scratchFile) {
  Write(scratchFile, bytes);
  std::map<std::string, ZipEntry> entries;
  unzFile zip = unzOpen(scratchFile.c_str());
  EXPECT_NE(zip, nullptr);
  if (!zip) return entries;
  for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
    unz_file_info info;
    char name[512] = {};
    unzGetCurrentFileInfo(zip, &info, name, sizeof(name), nullptr, 0, nullptr, 0);
    ZipEntry entry;
    entry.dosDate = info.dosDate;
    entry.externalAttributes = info.external_fa;
    entry.method = static_cast<int>(info.compression_method);
    entry.extraBytes = info.size_file_extra + info.size_file_comment;
    entry.index = static_cast<int>(entries.size());
    EXPECT_EQ(unzOpenCurrentFile(zip), UNZ_OK);
    char buffer[4096];
    int got;
    while ((got = unzReadCurrentFile(zip, buffer, sizeof(buffer))) > 0) entry.data.append(buffer, got);
    EXPECT_EQ(unzCloseCurrentFile(zip), UNZ_OK) << name;
    entries[name] = entry;
  }
  unzClose(zip);
  return entries;
}

// A valid set of inputs below root.
BuilderOptions Inputs(const std::string& root) {
  Write(root + "/Installer.exe", "MZ-stub-bytes");
  Write(root + "/app/readme.txt", "hello");
  Write(root + "/cfg/Config/Script.ini", "[GeneralInformation]\r\nAppName = T\r\n");
  Write(root + "/cfg/Languages/English@ascii.ini", "[VLX Localization File] = \r\nLanguage = English\r\n");
  BuilderOptions options;
  options.stubPath = root + "/Installer.exe";
  options.appFolder = root + "/app";
  options.configFolder = root + "/cfg";
  options.outputPath = root + "/out/Setup.exe";
  fs::create_directories(root + "/out");
  return options;
}

std::time_t Utc(int year, int month, int day, int hour, int minute, int second) {
  std::tm when = {};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  return timegm(&when);
}

void SetTime(const std::string& path, std::time_t when) {
  utimbuf times = {when, when};
  EXPECT_EQ(utime(path.c_str(), &times), 0) << path;
}

unsigned long DosDate(int year, int month, int day, int hour, int minute, int second) {
  return (static_cast<unsigned long>(year - 1980) << 25) | (month << 21) | (day << 16) | (hour << 11) |
         (minute << 5) | (second / 2);
}

}  // namespace

TEST(Mkinstaller, WritesStubArchivesAndTrailer) {
  Scratch scratch;
  BuilderOptions options = Inputs(scratch.path);
  const std::string app = options.appFolder;
  Write(app + "/Docs/guide.txt", std::string(100000, 'g'));
  Write(app + "/zero.bin", "");
  Write(app + "/Gr\xC3\xBC\xC3\x9F" "e.txt", "utf8 name");
  fs::create_directories(app + "/Empty");
  Write(app + "/locked.txt", "ro");
  chmod((app + "/locked.txt").c_str(), 0444);
  SetTime(app + "/Docs/guide.txt", Utc(2019, 6, 15, 13, 46, 58));
  Write(options.configFolder + "/Config/Statistics.ini", "stale");
  Write(options.configFolder + "/Resources/ReadMe.txt", "read me");

  std::string error;
  ASSERT_TRUE(mkinstaller::BuildPackage(options, &error)) << error;
  const std::string package = Read(options.outputPath);
  ASSERT_EQ(package.compare(0, 13, "MZ-stub-bytes"), 0);
  ASSERT_EQ(package.substr(package.size() - 3), "EOF");
  const auto* trailer = reinterpret_cast<const unsigned char*>(package.data()) + package.size() - 11;
  const std::size_t infoBytes = corvalis::ReadLe32(trailer), appBytes = corvalis::ReadLe32(trailer + 4);
  ASSERT_EQ(13 + appBytes + infoBytes + 11, package.size());
  EXPECT_TRUE(fs::status(options.outputPath).permissions() != fs::perms::none);

  auto appEntries = ReadZip(package.substr(13, appBytes), scratch.path + "/app.zip");
  std::vector<std::string> names;
  for (auto& entry : appEntries) names.push_back(entry.first);
  EXPECT_EQ(names, (std::vector<std::string>{"Docs/", "Docs/guide.txt", "Empty/", "Gr\x81\xE1" "e.txt", "locked.txt",
                                             "readme.txt", "zero.bin"}));
  for (auto& entry : appEntries) {
    EXPECT_EQ(entry.second.method, 8) << entry.first;  // deflate throughout
    EXPECT_EQ(entry.second.extraBytes, 0u) << entry.first;
  }
  EXPECT_EQ(appEntries["Docs/"].externalAttributes, mkinstaller::kDosDirectory);
  EXPECT_EQ(appEntries["Docs/guide.txt"].externalAttributes, mkinstaller::kDosArchive);
  EXPECT_EQ(appEntries["locked.txt"].externalAttributes, mkinstaller::kDosArchive | mkinstaller::kDosReadOnly);
  EXPECT_EQ(appEntries["Docs/guide.txt"].dosDate, DosDate(2019, 6, 15, 13, 46, 58));
  EXPECT_EQ(appEntries["Docs/guide.txt"].data, std::string(100000, 'g'));
  EXPECT_EQ(appEntries["Gr\x81\xE1" "e.txt"].data, "utf8 name");
  EXPECT_EQ(appEntries["zero.bin"].data, "");

  auto infoEntries = ReadZip(package.substr(13 + appBytes, infoBytes), scratch.path + "/info.zip");
  EXPECT_EQ(infoEntries.count("Config/Script.ini"), 1u);
  EXPECT_EQ(infoEntries.count("Languages/English@ascii.ini"), 1u);
  EXPECT_EQ(infoEntries["Resources/ReadMe.txt"].data, "read me");
  // Statistics: 8 bytes, little-endian sum of the application files' sizes.
  const std::uint64_t total = 5 + 100000 + 0 + 9 + 2;
  std::string expected(8, '\0');
  for (int i = 0; i < 8; ++i) expected[i] = static_cast<char>(total >> (8 * i));
  EXPECT_EQ(infoEntries["Config/Statistics.ini"].data, expected);

  // Nothing but the output is left beside it.
  std::vector<std::string> outputs;
  for (auto& item : fs::directory_iterator(scratch.path + "/out")) outputs.push_back(item.path().filename());
  EXPECT_EQ(outputs, std::vector<std::string>{"Setup.exe"});
}

// Copies of the same inputs, made in other folders, in another order and read in another
// time zone, give the same bytes; SOURCE_DATE_EPOCH caps the times that are newer.
TEST(Mkinstaller, SameInputsGiveTheSameBytes) {
  const std::time_t fileTime = Utc(2020, 2, 29, 23, 59, 58);
  const std::time_t epoch = Utc(2021, 1, 1, 0, 0, 0);
  const std::vector<std::pair<std::string, std::string>> files = {
      {"app/b.txt", "bee"},       {"app/a/z.txt", "zed"},     {"app/a.txt", "ay"},
      {"app/a b/c.txt", "space"}, {"app/later.txt", "later"}, {"cfg/Resources/License.txt", "licence"}};
  auto build = [&](bool reversed, const char* timeZone, const BuilderOptions& settings) {
    Scratch scratch;
    BuilderOptions options = Inputs(scratch.path);
    options.clampTimes = settings.clampTimes;
    options.latestTime = settings.latestTime;
    std::vector<std::pair<std::string, std::string>> order = files;
    if (reversed) std::reverse(order.begin(), order.end());
    for (const auto& file : order) {
      Write(scratch.path + "/" + file.first, file.second);
      SetTime(scratch.path + "/" + file.first, file.first == "app/later.txt" ? epoch + 86400 : fileTime);
    }
    for (const char* input : {"app/readme.txt", "cfg/Config/Script.ini", "cfg/Languages/English@ascii.ini"})
      SetTime(scratch.path + "/" + input, fileTime);
    chmod((scratch.path + "/app/a.txt").c_str(), 0444);
    // The folders keep the times of their making, newer than the epoch.
    const char* zone = std::getenv("TZ");
    const std::string savedZone = zone ? zone : "";
    setenv("TZ", timeZone, 1);
    tzset();
    std::string error;
    EXPECT_TRUE(mkinstaller::BuildPackage(options, &error)) << error;
    if (zone) setenv("TZ", savedZone.c_str(), 1);
    else unsetenv("TZ");
    tzset();
    return Read(options.outputPath);
  };
  BuilderOptions clamped;
  clamped.clampTimes = true;
  clamped.latestTime = epoch;
  const std::string first = build(false, "UTC", clamped);
  const std::string second = build(true, "Asia/Kathmandu", clamped);
  ASSERT_GT(first.size(), 100u);
  EXPECT_TRUE(first == second) << "the two builds differ";

  auto appArchive = [](const std::string& package, const std::string& scratchFile) {
    const auto* trailer = reinterpret_cast<const unsigned char*>(package.data()) + package.size() - 11;
    const std::size_t infoBytes = corvalis::ReadLe32(trailer), appBytes = corvalis::ReadLe32(trailer + 4);
    return std::make_pair(ReadZip(package.substr(13, appBytes), scratchFile + ".app"),
                          ReadZip(package.substr(13 + appBytes, infoBytes), scratchFile + ".info"));
  };
  Scratch scratch;
  auto archives = appArchive(first, scratch.path + "/first");
  for (const auto* archive : {&archives.first, &archives.second}) {  // stored in the order of their names
    int index = 0;
    for (const auto& entry : *archive) EXPECT_EQ(entry.second.index, index++) << entry.first;
  }
  EXPECT_EQ(archives.first.size(), 8u);
  EXPECT_EQ(archives.first["a.txt"].dosDate, DosDate(2020, 2, 29, 23, 59, 58));
  EXPECT_EQ(archives.first["a.txt"].externalAttributes, mkinstaller::kDosArchive | mkinstaller::kDosReadOnly);
  EXPECT_EQ(archives.first["later.txt"].dosDate, DosDate(2021, 1, 1, 0, 0, 0));
  EXPECT_EQ(archives.first["a/"].dosDate, DosDate(2021, 1, 1, 0, 0, 0));
  EXPECT_EQ(archives.second["Config/Statistics.ini"].dosDate, DosDate(2021, 1, 1, 0, 0, 0));

  // Without SOURCE_DATE_EPOCH every time is kept as it is.
  const std::string unclamped = build(false, "UTC", BuilderOptions());
  archives = appArchive(unclamped, scratch.path + "/unclamped");
  EXPECT_EQ(archives.first["later.txt"].dosDate, DosDate(2021, 1, 2, 0, 0, 0));
  EXPECT_EQ(archives.second["Config/Statistics.ini"].dosDate, archives.first["a/"].dosDate);  // the newest
}

TEST(Mkinstaller, BadInputNamesTheProblemAndLeavesNoOutput) {
  struct Case {
    const char* expect;
    void (*breakIt)(BuilderOptions*, const std::string& root);
  } cases[] = {
      {"stub not found", [](BuilderOptions* o, const std::string&) { o->stubPath += ".missing"; }},
      {"application folder not found", [](BuilderOptions* o, const std::string&) { o->appFolder += "/nope"; }},
      {"config folder not found", [](BuilderOptions* o, const std::string&) { o->configFolder += "/nope"; }},
      {"Script.ini not found", [](BuilderOptions*, const std::string& r) { fs::remove(r + "/cfg/Config/Script.ini"); }},
      {"no language file",
       [](BuilderOptions*, const std::string& r) {
         fs::remove(r + "/cfg/Languages/English@ascii.ini");
         Write(r + "/cfg/Languages/readme.txt", "not a language");
       }},
      {"2 GiB",
       [](BuilderOptions* o, const std::string& r) {
         // A sparse stub just below the limit: the archives push it over.
         o->stubPath = r + "/huge.exe";
         std::ofstream(o->stubPath).close();
         fs::resize_file(o->stubPath, (std::uintmax_t(1) << 31) - 200);
       }},
      {"neither code page 437 nor UTF-8", [](BuilderOptions*, const std::string& r) { Write(r + "/app/\xC3.txt", "x"); }},
      {"no uninstaller to sign", [](BuilderOptions* o, const std::string&) { o->signCommand = "cp {in} {out}"; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expect);
    Scratch scratch;
    BuilderOptions options = Inputs(scratch.path);
    Write(options.outputPath, "previous build");
    c.breakIt(&options, scratch.path);
    std::string error;
    EXPECT_FALSE(mkinstaller::BuildPackage(options, &error));
    EXPECT_NE(error.find(c.expect), std::string::npos) << error;
    EXPECT_EQ(Read(options.outputPath), "previous build");
    std::size_t files = 0;
    for (auto& item : fs::directory_iterator(scratch.path + "/out")) files += item.is_regular_file();
    EXPECT_EQ(files, 1u);  // no temporary left behind
  }
}

TEST(Mkinstaller, CommandLine) {
  BuilderOptions options;
  std::string error;
  EXPECT_TRUE(mkinstaller::ParseArguments({"--stub", "s", "--app", "a", "--config", "c", "--output", "o", "--level", "3"},
                                          &options, &error));
  EXPECT_EQ(options.level, 3);
  BuilderOptions other;
  EXPECT_FALSE(mkinstaller::ParseArguments({"--stub", "s", "--app", "a", "--config", "c"}, &other, &error));
  EXPECT_NE(error.find("--output"), std::string::npos);
  EXPECT_FALSE(mkinstaller::ParseArguments({"--stub", "s", "--app", "a", "--config", "c", "--output", "o", "--level",
                                            "13"}, &other, &error));
  EXPECT_FALSE(mkinstaller::ParseArguments({"--bogus", "x"}, &other, &error));
  EXPECT_TRUE(mkinstaller::ReadSourceDateEpoch(nullptr, &other, &error));
  EXPECT_FALSE(other.clampTimes);
  EXPECT_TRUE(mkinstaller::ReadSourceDateEpoch("1700000000", &other, &error));
  EXPECT_TRUE(other.clampTimes);
  EXPECT_EQ(other.latestTime, 1700000000);
  for (const char* bad : {"", "-5", "17e8", " 1", "99999999999999999999"})
    EXPECT_FALSE(mkinstaller::ReadSourceDateEpoch(bad, &other, &error)) << bad;

  Scratch scratch;
  BuilderOptions good = Inputs(scratch.path);
  const std::string tool = MKINSTALLER_PATH;
  auto run = [&](const std::string& args) {
    int status = std::system((tool + " " + args + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run("--stub " + good.stubPath), 2);
  EXPECT_EQ(run("--help >/dev/null"), 0) << "the usage, asked for, is no error";
  EXPECT_EQ(run("--stub " + good.stubPath + ".x --app " + good.appFolder + " --config " + good.configFolder +
                " --output " + good.outputPath),
            1);
  EXPECT_FALSE(fs::exists(good.outputPath));
  const std::string inputs =
      " --app " + good.appFolder + " --config " + good.configFolder + " --output " + good.outputPath;
  const int bogusEpoch = std::system(("SOURCE_DATE_EPOCH=soon " + tool + " --stub " + good.stubPath + inputs +
                                      " 2>/dev/null").c_str());
  EXPECT_TRUE(WIFEXITED(bogusEpoch) && WEXITSTATUS(bogusEpoch) == 2);
  EXPECT_FALSE(fs::exists(good.outputPath));
  EXPECT_EQ(run("--stub " + good.stubPath + " --app " + good.appFolder + " --config " + good.configFolder +
                " --output " + good.outputPath + " --level 0 --lenient"),
            0);
  EXPECT_TRUE(fs::exists(good.outputPath));
}

// A configuration that would fail at the customer's is refused at the vendor's: the
// message names the file and the mend, and nothing is written. The sample itself passes.
TEST(Mkinstaller, RefusesConfigurationsThatCantWork) {
  const auto replaceLine = [](const std::string& path, const std::string& from, const std::string& to) {
    std::string text = Read(path);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    Write(path, text);
  };
  const std::string script = "/Config/Script.ini", english = "/Languages/English@ascii.ini";
  const struct {
    const char* expect;
    std::function<void(const std::string& config)> breakIt;
  } cases[] = {
      {"", [](const std::string&) {}},
      {"Config/Script.ini: UTF-8 without a signature",
       [&](const std::string& c) {
         std::string text = Read(c + script);  // its only byte beyond ASCII is the separator
         for (std::size_t at = text.find('\xB6'); at != std::string::npos; at = text.find('\xB6', at + 2)) {
           text.insert(at, "\xC2");
         }
         Write(c + script, text);
       }},
      {"no uninstall entry", [&](const std::string& c) { replaceLine(c + script, "IconExtUninst = 1", "IconExtUninst = 0"); }},
      {"Version \"Release 2 (beta)\" is not dotted numbers",
       [&](const std::string& c) { replaceLine(c + script, "Version = 1.0", "Version = Release 2 (beta)"); }},
      {"Website \"www.example.com\" needs its scheme",
       [&](const std::string& c) { replaceLine(c + script, "Website = http://127.0.0.1/corvalis-sample", "Website = www.example.com"); }},
      {"Resources/License.txt: missing, and RequireLicense = 1 shows it",
       [](const std::string& c) { fs::remove(c + "/Resources/License.txt"); }},
      {"Resources/WizBitmap.bmp: not a BMP picture",
       [](const std::string& c) { Write(c + "/Resources/WizBitmap.bmp", "not a bitmap"); }},
      {"Languages/English@ascii.ini: [LocalizationStub] lacks Key5",
       [&](const std::string& c) { replaceLine(c + english, "\nKey5 =", "\nKeyFive ="); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expect);
    Scratch scratch;
    BuilderOptions options = Inputs(scratch.path);
    fs::remove_all(options.configFolder);
    fs::copy(std::string(SAMPLE_FOLDER) + "/config", options.configFolder, fs::copy_options::recursive);
    c.breakIt(options.configFolder);
    const std::string errors = scratch.path + "/errors.txt";
    const int status = std::system((std::string(MKINSTALLER_PATH) + " --stub " + options.stubPath + " --app " +
                                    options.appFolder + " --config " + options.configFolder + " --output " +
                                    options.outputPath + " 2>" + errors)
                                       .c_str());
    const bool refused = c.expect[0] != '\0';
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, refused ? 1 : 0) << Read(errors);
    EXPECT_EQ(fs::exists(options.outputPath), !refused);
    if (refused) {
      EXPECT_NE(Read(errors).find(c.expect), std::string::npos) << Read(errors);
    }
  }
}

// A vendor's first package: --init writes a starter that the strict builder takes as it is,
// and never writes over a folder that holds anything.
TEST(Mkinstaller, InitWritesAStarterThatBuilds) {
  Scratch scratch;
  const BuilderOptions inputs = Inputs(scratch.path);
  const std::string tool = MKINSTALLER_PATH, starter = scratch.path + "/starter";
  auto run = [](const std::string& line) {
    const int status = std::system((line + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  ASSERT_EQ(run(tool + " --init " + starter), 0);
  EXPECT_EQ(run(tool + " --stub " + inputs.stubPath + " --app " + starter + "/app --config " + starter +
                "/config --output " + inputs.outputPath),
            0);
  EXPECT_TRUE(fs::exists(inputs.outputPath));
  const std::string script = Read(starter + "/config/Config/Script.ini");
  EXPECT_NE(script.find("\xB6"), std::string::npos) << "the separator in code page 1252";
  EXPECT_EQ(run(tool + " --init " + starter), 2);
  EXPECT_EQ(Read(starter + "/config/Config/Script.ini"), script);
}

TEST(Mkinstaller, Cp437Names) {
  std::string out;
  EXPECT_TRUE(mkinstaller::Utf8ToCp437("plain/Name.txt", &out));
  EXPECT_EQ(out, "plain/Name.txt");
  EXPECT_TRUE(mkinstaller::Utf8ToCp437("\xC3\x84\xC3\xA9\xC3\xB1", &out));  // Ä é ñ
  EXPECT_EQ(out, "\x8E\x82\xA4");
  EXPECT_FALSE(mkinstaller::Utf8ToCp437("\xE6\x97\xA5", &out));
  EXPECT_FALSE(mkinstaller::Utf8ToCp437("\xC3", &out));  // broken UTF-8
  EXPECT_TRUE(mkinstaller::IsUtf8("\xC5\x81\xC3\xB3" "d\xC5\xBA.txt"));  // Łódź.txt
  EXPECT_FALSE(mkinstaller::IsUtf8("\xC3"));
}

// With the shipped stub both programs are signed by the vendor's command, the uninstaller
// first; a failing command leaves the previous build alone.
TEST(Mkinstaller, SigningCommandSignsBothProgramsOrNothing) {
  if (!fs::exists(SHIPPED_STUB)) GTEST_SKIP() << "SKIPPED: no shipped stub at " << SHIPPED_STUB;
  Scratch scratch;
  BuilderOptions options = Inputs(scratch.path);
  options.stubPath = SHIPPED_STUB;
  Write(options.outputPath, "previous build");
  std::string error;
  options.signCommand = "exit 3";
  EXPECT_FALSE(mkinstaller::BuildPackage(options, &error));
  EXPECT_NE(error.find("exit code 3"), std::string::npos) << error;
  EXPECT_EQ(Read(options.outputPath), "previous build");

  options.signCommand = "cp {in} {out} && printf SIGNED >> {out}";
  ASSERT_TRUE(mkinstaller::BuildPackage(options, &error)) << error;
  std::string package = Read(options.outputPath);
  ASSERT_EQ(package.substr(package.size() - 6), "SIGNED");
  package.resize(package.size() - 6);
  const auto* trailer = reinterpret_cast<const unsigned char*>(package.data()) + package.size() - 11;
  const std::size_t infoBytes = corvalis::ReadLe32(trailer);
  auto info = ReadZip(package.substr(package.size() - 11 - infoBytes, infoBytes), scratch.path + "/info.zip");
  const std::string uninstaller = info[corvalis::kUninstallerEntry].data;
  EXPECT_EQ(uninstaller.compare(0, 2, "MZ"), 0);
  EXPECT_EQ(uninstaller.substr(uninstaller.size() - 6), "SIGNED") << "the uninstaller inside is signed too";
}
