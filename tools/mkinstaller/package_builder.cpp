#include "tools/mkinstaller/package_builder.h"

#include <libdeflate.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <memory>

#include "common/ansi_text.h"
#include "installer/config/script_reader.h"
#include "common/ini_file.h"
#include "common/whole_file.h"
#include "installer/package/package_layout.h"
#include "tools/mkinstaller/program_image.h"

namespace fs = std::filesystem;

namespace mkinstaller {

const char* const kUsage =
    "usage: mkinstaller --stub <Installer.exe> --app <folder> --config <folder> --output <Setup.exe> "
    "[--level 0-12] [--solid] [--lenient] [--sign \"<command with {in} and {out}>\"]\n"
    "       mkinstaller --init <folder>    a starter configuration (config/, app/) that builds as it is\n"
    "  A configuration that can't work at the customer's is refused with what to mend;\n"
    "  --lenient builds it anyway, with warnings (for configurations of old versions).\n"
    "  --solid stores the application files as one solid 7z archive (LZMA2; needs 7zz, Debian's\n"
    "  7zip): a much smaller download, decoded as a stream.\n"
    "  --sign runs the command (through the shell) on the uninstaller the package carries and\n"
    "  then on the package, e.g. --sign \"osslsigncode sign -pkcs12 v.pfx -in {in} -out {out}\"";

namespace {

constexpr std::size_t kReadChunkBytes = 256 * 1024;

struct Entry {
  std::string relative;  // UTF-8, "/" separated; folders end in "/"
  std::string source;    // file on disk; empty for generated entries
  bool folder = false;
  std::time_t modified = 0;              // generated entries only
  const std::string* content = nullptr;  // generated entries only
};

// The earliest time a DOS date can hold, 1980-01-01 00:00:00.
constexpr std::time_t kDosEpoch = 315532800;

bool IsIniFile(const fs::path& path) {
  return corvalis::EqualsNoCase(path.extension().string(), ".ini");
}

// Removes a file on scope exit unless released.
struct TempFile {
  std::string path;
  ~TempFile() {
    if (!path.empty()) std::remove(path.c_str());
  }
};

bool MakeTempBeside(const std::string& target, const char* tag, TempFile* temp) {
  fs::path output(target);
  std::string pattern = (output.parent_path().empty() ? fs::path(".") : output.parent_path()).string() + "/." +
                        output.filename().string() + "." + tag + ".XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return false;
  close(fd);
  temp->path = name.data();
  return true;
}

// Byte order of the names: a folder's name ("a/") is a prefix of its contents' names, so it
// comes first, and the order doesn't depend on the file system or the locale.
bool ByName(const Entry& a, const Entry& b) { return a.relative < b.relative; }

std::vector<Entry> ListTree(const std::string& root) {
  std::vector<Entry> entries;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    Entry entry;
    entry.relative = fs::relative(it->path(), root).generic_string();
    entry.source = it->path().string();
    entry.folder = it->is_directory();
    if (!entry.folder && !it->is_regular_file()) continue;
    if (entry.folder) entry.relative += '/';
    entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(), ByName);
  return entries;
}

// In UTC, so the same file gives the same bytes in every time zone.
void SetDate(zip_fileinfo* info, std::time_t when) {
  std::tm utc = {};
  if (when < kDosEpoch || !gmtime_r(&when, &utc)) gmtime_r(&kDosEpoch, &utc);
  // DOS dates end with 2107.
  if (utc.tm_year + 1900 > 2107) {
    utc.tm_year = 2107 - 1900;
    utc.tm_mon = 11;
    utc.tm_mday = 31;
    utc.tm_hour = 23;
    utc.tm_min = 59;
    utc.tm_sec = 58;
  }
  info->tmz_date.tm_sec = static_cast<uInt>(utc.tm_sec);
  info->tmz_date.tm_min = static_cast<uInt>(utc.tm_min);
  info->tmz_date.tm_hour = static_cast<uInt>(utc.tm_hour);
  info->tmz_date.tm_mday = static_cast<uInt>(utc.tm_mday);
  info->tmz_date.tm_mon = static_cast<uInt>(utc.tm_mon);
  info->tmz_date.tm_year = static_cast<uInt>(utc.tm_year + 1900);
}

// minizip's own "made by" for entries opened the plain way: keeps packages byte-identical.
constexpr unsigned long kMadeByDos = 0;

class ArchiveWriter {
 public:
  ArchiveWriter(const std::string& path, const BuilderOptions& options, std::int64_t budget)
      : path_(path), options_(options), budget_(budget), zip_(zipOpen64(path.c_str(), APPEND_STATUS_CREATE)) {}
  ~ArchiveWriter() {
    if (zip_) zipClose(zip_, nullptr);
  }
  bool ok() const { return zip_ != nullptr; }

  // Adds one entry; data comes from entry.source, or from bytes for generated entries.
  bool Add(const Entry& entry, const std::string* bytes, std::string* error) {
    // Code page 437 where it holds the name, as every package before; otherwise UTF-8,
    // said so by the entry's flag bit 11.
    std::string name;
    unsigned long flags = 0;
    if (!Utf8ToCp437(entry.relative, &name)) {
      if (!IsUtf8(entry.relative)) {
        *error = "file name is neither code page 437 nor UTF-8: " + entry.relative;
        return false;
      }
      name = entry.relative;
      flags = corvalis::kUtf8NameFlag;
    }
    // Only the name, the date and the attributes below describe an entry: no extra fields
    // or comments that could carry the host's times or owners.
    zip_fileinfo info = {};
    std::uint32_t attributes = entry.folder ? kDosDirectory : kDosArchive;
    std::time_t modified = entry.modified;
    std::int64_t fileBytes = bytes ? static_cast<std::int64_t>(bytes->size()) : 0;
    if (!entry.source.empty()) {
      struct stat status = {};
      if (stat(entry.source.c_str(), &status) != 0) {
        *error = "can't read " + entry.source;
        return false;
      }
      modified = status.st_mtime;
      if (!(status.st_mode & S_IWUSR)) attributes |= kDosReadOnly;
      if (!entry.folder && status.st_size >= kSizeLimit) return TooBig(error);
      fileBytes = status.st_size;
    }
    if (options_.clampTimes && modified > options_.latestTime) modified = static_cast<std::time_t>(options_.latestTime);
    newest_ = std::max(newest_, modified);
    SetDate(&info, modified);
    info.internal_fa = 0;
    info.external_fa = attributes;
    // Files are deflated by libdeflate, whose levels make smaller streams than zlib's, and
    // stored raw; a file above kWholeEntryBytes goes through minizip's zlib in pieces instead
    // of into memory whole.
    const bool whole = !entry.folder && options_.level > 0 && fileBytes <= kWholeEntryBytes;
    std::string content, packed;
    if (whole && !bytes &&
        corvalis::ReadWholeFile(entry.source, kWholeEntryBytes, &content) != corvalis::FileRead::Ok) {
      *error = "can't read " + entry.source;
      return false;
    }
    const std::string& data = bytes ? *bytes : content;
    if (whole && !Deflate(data, &packed)) {
      *error = "can't deflate " + entry.relative;
      return false;
    }
    // minizip's level only sets the header's level bits, which stop at 9.
    if (zipOpenNewFileInZip4_64(zip_, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                std::min(options_.level, 9), whole ? 1 : 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                Z_DEFAULT_STRATEGY, nullptr, 0, kMadeByDos, flags, 0) != ZIP_OK) {
      *error = "can't write the archive " + path_;
      return false;
    }
    const bool written = entry.folder ? true
                         : whole      ? Write(packed.data(), packed.size())
                         : bytes      ? Write(bytes->data(), bytes->size())
                                      : CopyFrom(entry.source, error);
    const int closed =
        whole ? zipCloseFileInZipRaw64(zip_, data.size(),
                                       crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())))
              : zipCloseFileInZip(zip_);
    if (closed != ZIP_OK || !written) {
      if (error->empty()) *error = "can't write the archive " + path_;
      return false;
    }
    if (!entry.folder && !entry.source.empty()) dataBytes_ += static_cast<std::uint64_t>(fs::file_size(entry.source));
    if (CurrentSize() >= budget_) return TooBig(error);
    return true;
  }

  bool Close(std::string* error) {
    int result = zipClose(zip_, nullptr);
    zip_ = nullptr;
    if (result != ZIP_OK) {
      *error = "can't write the archive " + path_;
      return false;
    }
    if (CurrentSize() >= budget_) return TooBig(error);
    return true;
  }

  std::uint64_t dataBytes() const { return dataBytes_; }
  // The latest time stored so far; the DOS epoch before the first entry.
  std::time_t newest() const { return newest_; }

 private:
  static constexpr std::int64_t kSizeLimit = corvalis::kPackageLimitBytes;

  bool TooBig(std::string* error) {
    *error = "the installer would reach 2 GiB; it must stay below 2,147,483,648 bytes";
    return false;
  }
  std::int64_t CurrentSize() const {
    std::error_code ec;
    auto size = fs::file_size(path_, ec);
    return ec ? 0 : static_cast<std::int64_t>(size);
  }
  bool Deflate(const std::string& data, std::string* packed) {
    if (!compressor_) compressor_.reset(libdeflate_alloc_compressor(options_.level));
    if (!compressor_) return false;
    packed->resize(libdeflate_deflate_compress_bound(compressor_.get(), data.size()));
    const std::size_t size =
        libdeflate_deflate_compress(compressor_.get(), data.data(), data.size(), &(*packed)[0], packed->size());
    packed->resize(size);
    return size > 0;
  }
  bool Write(const char* data, std::size_t size) {
    return size == 0 || zipWriteInFileInZip(zip_, data, static_cast<unsigned>(size)) == ZIP_OK;
  }
  bool CopyFrom(const std::string& source, std::string* error) {
    std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(source.c_str(), "rb"), std::fclose);
    if (!in) {
      *error = "can't read " + source;
      return false;
    }
    std::vector<char> buffer(kReadChunkBytes);
    std::size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
      if (!Write(buffer.data(), got)) return false;
      if (CurrentSize() >= budget_) return TooBig(error);
    }
    if (std::ferror(in.get())) {
      *error = "can't read " + source;
      return false;
    }
    return true;
  }

  struct FreeCompressor {
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
  };
  static constexpr std::int64_t kWholeEntryBytes = 256 * 1024 * 1024;

  std::string path_;
  const BuilderOptions& options_;
  std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor_;
  std::int64_t budget_;
  zipFile zip_;
  std::uint64_t dataBytes_ = 0;
  std::time_t newest_ = kDosEpoch;
};

// The version resource's texts for a program of the product described as program
// ("Setup", "Uninstaller"): Script.ini's AppName, Version and CompanyName, and its
// [GeneralInformation] Copyright, "Copyright (C) <CompanyName>" without one.
VersionTexts ProductVersionTexts(const std::string& configFolder, const std::string& program) {
  corvalis::IniDocument script;
  corvalis::LoadIniFile(configFolder + "/" + corvalis::kScriptEntry, &script);
  const corvalis::ScriptSettings settings = corvalis::ReadScriptSettings(script);
  VersionTexts texts;
  texts.productName = settings.AppName;
  texts.version = settings.Version;
  texts.company = settings.CompanyName;
  texts.description = settings.AppName + " " + program;
  const corvalis::IniGroup* general = corvalis::FindGroup(script, "GeneralInformation");
  const corvalis::IniKey* copyright = general ? corvalis::FindKey(*general, "Copyright") : nullptr;
  texts.copyright = copyright ? copyright->Value : "Copyright (C) " + settings.CompanyName;
  return texts;
}

// The program, signed by the vendor's command when there is one.
bool Signed(const BuilderOptions& options, std::string* program, std::string* error) {
  if (options.signCommand.empty()) return true;
  TempFile in, out;
  if (!MakeTempBeside(options.outputPath, "unsigned", &in) || !MakeTempBeside(options.outputPath, "signed", &out) ||
      !corvalis::WriteFileBytes(in.path, *program)) {
    *error = "can't create a temporary file beside " + options.outputPath;
    return false;
  }
  if (!RunSigningCommand(options.signCommand, in.path, out.path, error)) return false;
  if (corvalis::ReadWholeFile(out.path, corvalis::kPackageLimitBytes, program) != corvalis::FileRead::Ok) {
    *error = "can't read the signed " + out.path;
    return false;
  }
  return true;
}

// The application folder as a solid 7z archive at path, written by 7zz (Debian's 7zip):
// LZMA2 at its strongest behind the x86 branch filter, all in one block with an 8 MiB
// dictionary (the installer decodes the block as a stream and holds the dictionary, as much
// as a solid NSIS installer does), modification times only, two threads always, names taken
// literally. One filter for every file keeps the files in the list's order, byte order of
// their names: the installer reads them so, in the ZIP package's order. The same
// files with the same times give the same bytes. Times later than SOURCE_DATE_EPOCH are
// stored as it, from a copy of the folder. *bytes and *newest as the ZIP writer gives them.
bool WriteSolidArchive(const BuilderOptions& options, const std::string& path, std::uint64_t* bytes,
                       std::time_t* newest, std::string* error) {
  std::string folder = options.appFolder;
  TempFile list;
  std::string staging;
  struct RemoveStaging {
    const std::string& folder;
    ~RemoveStaging() {
      std::error_code ec;
      if (!folder.empty()) fs::remove_all(folder, ec);
    }
  } removeStaging{staging};
  if (!MakeTempBeside(options.outputPath, "list", &list)) {
    *error = "can't create a temporary file beside " + options.outputPath;
    return false;
  }
  std::string names;
  const std::vector<Entry> entries = ListTree(options.appFolder);
  for (const Entry& entry : entries) {
    std::error_code ec;
    struct stat status = {};
    if (stat(entry.source.c_str(), &status) != 0) {
      *error = "can't read " + entry.source;
      return false;
    }
    std::time_t modified = status.st_mtime;
    if (options.clampTimes && modified > options.latestTime) {
      if (staging.empty()) {
        staging = options.outputPath + ".solid-staging";
        fs::remove_all(staging, ec);
        fs::copy(options.appFolder, staging, fs::copy_options::recursive, ec);
        if (ec) {
          *error = "can't copy " + options.appFolder + " to " + staging;
          return false;
        }
        folder = staging;
      }
      modified = static_cast<std::time_t>(options.latestTime);
    }
    *newest = std::max(*newest, modified);
    if (!entry.folder) *bytes += static_cast<std::uint64_t>(status.st_size);
    names += entry.folder ? entry.relative.substr(0, entry.relative.size() - 1) : entry.relative;
    names += '\n';
  }
  // The copy takes the originals' times, those after the epoch as it; deepest first, so
  // that setting a file doesn't move its folder's time again.
  if (!staging.empty()) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      struct stat status = {};
      if (stat(entry->source.c_str(), &status) != 0) continue;
      const time_t when = std::min<time_t>(status.st_mtime, static_cast<time_t>(options.latestTime));
      const struct timespec times[2] = {{when, 0}, {when, 0}};
      utimensat(AT_FDCWD, (staging + "/" + entry->relative).c_str(), times, 0);
    }
  }
  if (!corvalis::WriteFileBytes(list.path, names)) {
    *error = "can't write " + list.path;
    return false;
  }
  std::remove(path.c_str());
  const std::string command = "cd " + ShellQuoted(folder) + " && 7zz a -t7z -mx=9 -m0=LZMA2 -md=8m -mf=BCJ -ms=on -mmt=2 " +
                              "-mtc=off -mta=off -mtm=on -spd -bd -bso0 -bsp0 " + ShellQuoted(fs::absolute(path).string()) +
                              " @" + ShellQuoted(fs::absolute(list.path).string()) + " >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  if (status != 0) {
    *error = "7zz (Debian's 7zip package) couldn't write the solid archive (exit status " + std::to_string(status) +
             ")";
    return false;
  }
  return true;
}

bool AppendFile(FILE* out, const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!in) return false;
  std::vector<char> buffer(kReadChunkBytes);
  std::size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0)
    if (std::fwrite(buffer.data(), 1, got, out) != got) return false;
  return !std::ferror(in.get());
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& args, BuilderOptions* options, std::string* error) {
  bool haveLevel = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (flag == "--lenient" || flag == "--solid") {
      (flag == "--lenient" ? options->lenient : options->solid) = true;
      continue;
    }
    if (i + 1 >= args.size()) {
      *error = "missing value after " + flag;
      return false;
    }
    const std::string& value = args[++i];
    if (flag == "--stub") options->stubPath = value;
    else if (flag == "--app") options->appFolder = value;
    else if (flag == "--config") options->configFolder = value;
    else if (flag == "--output") options->outputPath = value;
    else if (flag == "--sign") options->signCommand = value;
    else if (flag == "--level" && !haveLevel) {
      const bool number = !value.empty() && value.size() <= 2 && value.find_first_not_of("0123456789") == std::string::npos;
      if (!number || std::stoi(value) > 12) {
        *error = "--level must be a number from 0 to 12, not " + value;
        return false;
      }
      options->level = std::stoi(value);
      haveLevel = true;
    } else {
      *error = "unknown option " + flag;
      return false;
    }
  }
  const char* missing = options->stubPath.empty()       ? "--stub"
                        : options->appFolder.empty()    ? "--app"
                        : options->configFolder.empty() ? "--config"
                        : options->outputPath.empty()   ? "--output"
                                                        : nullptr;
  if (missing) {
    *error = std::string("missing ") + missing;
    return false;
  }
  return true;
}

bool ReadSourceDateEpoch(const char* value, BuilderOptions* options, std::string* error) {
  options->clampTimes = false;
  if (!value) return true;
  std::int64_t seconds = 0;
  const std::string text = value;
  bool ok = !text.empty() && text.size() <= 18;
  for (char c : text) {
    ok = ok && c >= '0' && c <= '9';
    if (ok) seconds = seconds * 10 + (c - '0');
  }
  if (!ok) {
    *error = "SOURCE_DATE_EPOCH must be a number of seconds since 1970, not \"" + text + "\"";
    return false;
  }
  options->clampTimes = true;
  options->latestTime = seconds;
  return true;
}

bool ValidateInputs(const BuilderOptions& options, std::string* error) {
  std::error_code ec;
  if (!fs::is_regular_file(options.stubPath, ec)) {
    *error = "stub not found: " + options.stubPath;
    return false;
  }
  if (!fs::is_directory(options.appFolder, ec)) {
    *error = "application folder not found: " + options.appFolder;
    return false;
  }
  if (!fs::is_directory(options.configFolder, ec)) {
    *error = "config folder not found: " + options.configFolder;
    return false;
  }
  fs::path script = fs::path(options.configFolder) / corvalis::kScriptEntry;
  if (!fs::is_regular_file(script, ec)) {
    *error = "Script.ini not found: " + script.string();
    return false;
  }
  fs::path languages = fs::path(options.configFolder) / corvalis::kLanguagesFolderEntry;
  bool anyLanguage = false;
  if (fs::is_directory(languages, ec))
    for (const auto& item : fs::directory_iterator(languages, ec))
      anyLanguage = anyLanguage || (item.is_regular_file() && IsIniFile(item.path()));
  if (!anyLanguage) {
    *error = "no language file (*.ini) in " + languages.string();
    return false;
  }
  fs::path outputFolder = fs::path(options.outputPath).parent_path();
  if (!outputFolder.empty() && !fs::is_directory(outputFolder, ec)) {
    *error = "output folder not found: " + outputFolder.string();
    return false;
  }
  return true;
}

bool BuildPackage(const BuilderOptions& options, std::string* error) {
  error->clear();
  if (!ValidateInputs(options, error)) return false;
  // The stub and the uninstaller it carries, each with the product's version resource; the
  // package carries the uninstaller so, signed when the vendor signs. A stub that carries
  // none (an older one, a test's stand-in, anything of more than kMaxStubBytes) is copied as
  // it is.
  constexpr std::uint64_t kMaxStubBytes = 16 * 1024 * 1024;
  std::string stub, uninstaller;
  const corvalis::FileRead stubRead = corvalis::ReadWholeFile(options.stubPath, kMaxStubBytes, &stub);
  if (stubRead == corvalis::FileRead::Unreadable) {
    *error = "can't read the stub " + options.stubPath;
    return false;
  }
  if (stubRead == corvalis::FileRead::Ok && CarriesUninstaller(stub)) {
    if (!UnpackUninstaller(stub, &uninstaller, error) ||
        !FillVersionResource(&uninstaller, ProductVersionTexts(options.configFolder, "Uninstaller"), error) ||
        !FillVersionResource(&stub, ProductVersionTexts(options.configFolder, "Setup"), error) ||
        !Signed(options, &uninstaller, error)) {
      return false;
    }
  } else if (!options.signCommand.empty()) {
    *error = "the stub carries no uninstaller to sign (is it Installer.exe of this version?)";
    return false;
  } else {
    stub.clear();
  }
  const std::int64_t stubBytes = static_cast<std::int64_t>(fs::file_size(options.stubPath));
  const std::int64_t budget = corvalis::kPackageLimitBytes - stubBytes - corvalis::kTrailerBytes;

  TempFile appZip, infoZip, output;
  if (!MakeTempBeside(options.outputPath, "app", &appZip) || !MakeTempBeside(options.outputPath, "info", &infoZip) ||
      !MakeTempBeside(options.outputPath, "out", &output)) {
    *error = "can't create a temporary file beside " + options.outputPath;
    return false;
  }

  std::uint64_t applicationBytes = 0;
  std::time_t newestApplicationFile = kDosEpoch;
  if (options.solid) {
    if (!WriteSolidArchive(options, appZip.path, &applicationBytes, &newestApplicationFile, error)) return false;
  } else {
    ArchiveWriter app(appZip.path, options, budget);
    if (!app.ok()) {
      *error = "can't write the archive " + appZip.path;
      return false;
    }
    for (const Entry& entry : ListTree(options.appFolder))
      if (!app.Add(entry, nullptr, error)) return false;
    applicationBytes = app.dataBytes();
    newestApplicationFile = app.newest();
    if (!app.Close(error)) return false;
  }
  const std::int64_t appBytes = static_cast<std::int64_t>(fs::file_size(appZip.path));
  {
    ArchiveWriter info(infoZip.path, options, budget - appBytes);
    if (!info.ok()) {
      *error = "can't write the archive " + infoZip.path;
      return false;
    }
    const std::string statistics = corvalis::WriteStatistics(applicationBytes);
    // Always made fresh, in their places by name, dated by what they hold: never the build's
    // own time.
    std::vector<Entry> entries = ListTree(options.configFolder);
    for (const auto& made : {std::make_pair(corvalis::kStatisticsEntry, &statistics),
                             std::make_pair(corvalis::kUninstallerEntry, static_cast<const std::string*>(&uninstaller))}) {
      if (made.second->empty()) continue;
      entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.relative == made.first; }),
                    entries.end());
      Entry generated;
      generated.relative = made.first;
      generated.modified = newestApplicationFile;
      generated.content = made.second;
      entries.insert(std::upper_bound(entries.begin(), entries.end(), generated, ByName), generated);
    }
    for (const Entry& entry : entries)
      if (!info.Add(entry, entry.content, error)) return false;
    if (!info.Close(error)) return false;
  }
  const std::int64_t infoBytes = static_cast<std::int64_t>(fs::file_size(infoZip.path));

  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(output.path.c_str(), "wb"), std::fclose);
  unsigned char trailer[corvalis::kTrailerBytes];
  corvalis::WriteTrailer(trailer, static_cast<std::uint32_t>(infoBytes), static_cast<std::uint32_t>(appBytes));
  bool written = out &&
                 (stub.empty() ? AppendFile(out.get(), options.stubPath)
                               : std::fwrite(stub.data(), 1, stub.size(), out.get()) == stub.size()) &&
                 AppendFile(out.get(), appZip.path) &&
                 AppendFile(out.get(), infoZip.path) && std::fwrite(trailer, 1, sizeof(trailer), out.get()) == sizeof(trailer);
  if (!out || std::fclose(out.release()) != 0 || !written) {
    *error = "can't write " + output.path;
    return false;
  }
  if (!options.signCommand.empty()) {
    std::string package;
    if (corvalis::ReadWholeFile(output.path, corvalis::kPackageLimitBytes, &package) != corvalis::FileRead::Ok ||
        !Signed(options, &package, error) || !corvalis::WriteFileBytes(output.path, package)) {
      if (error->empty()) *error = "can't write " + output.path;
      return false;
    }
  }
  chmod(output.path.c_str(), 0755);
  if (std::rename(output.path.c_str(), options.outputPath.c_str()) != 0) {
    *error = "can't rename " + output.path + " to " + options.outputPath + ": " + std::strerror(errno);
    return false;
  }
  output.path.clear();
  return true;
}

}  // namespace mkinstaller
