#include "installer/package/extract_archive.h"

#include <windows.h>
#include <minizip/unzip.h>

#include <memory>
#include <new>
#include <vector>

#include "installer/package/archive_reader.h"
#include "installer/package/entry_names.h"
#include "installer/package/package_layout.h"
#include "common/ansi_text.h"
#include "common/long_paths.h"
#include "common/unique_names.h"

namespace corvalis {

namespace {

ExtractProgressHook& Hook() {
  static ExtractProgressHook hook;
  return hook;
}

ExtractFailureHook& FailureHook() {
  static ExtractFailureHook hook;
  return hook;
}

WriteFailure AskAboutFailure(const std::string& path, unsigned long error) {
  return FailureHook() ? FailureHook()(path, error) : WriteFailure::Skip;
}

std::vector<Replacement>& Replaced() {
  static std::vector<Replacement> replaced;
  return replaced;
}

bool stopRequested = false;

class ZipReader final : public ArchiveReader {
 public:
  explicit ZipReader(unzFile zip) : zip_(zip) {}
  ~ZipReader() override { unzClose(zip_); }
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  unsigned long Count() override {
    unz_global_info global = {};
    unzGetGlobalInfo(zip_, &global);
    return global.number_entry;
  }
  bool First() override { return unzGoToFirstFile(zip_) == UNZ_OK; }
  bool Next() override { return unzGoToNextFile(zip_) == UNZ_OK; }
  bool Current(ArchiveEntry* entry) override {
    unz_file_info info = {};
    if (unzGetCurrentFileInfo(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
    std::vector<char> stored(info.size_filename + 1, '\0');
    unzGetCurrentFileInfo(zip_, &info, stored.data(), static_cast<uLong>(stored.size()), nullptr, 0, nullptr, 0);
    entry->storedName.assign(stored.data(), info.size_filename);
    entry->utf8 = (info.flag & kUtf8NameFlag) != 0;
    entry->size = info.uncompressed_size;
    entry->attributes = info.external_fa;
    // DOS times are local and keep seconds in units of two in the low five bits: to the
    // minute only.
    FILETIME local = {};
    entry->modified = {};
    if (DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate) & ~0x1F, &local)) {
      LocalFileTimeToFileTime(&local, &entry->modified);
    }
    return true;
  }
  bool Open() override { return unzOpenCurrentFile(zip_) == UNZ_OK; }
  int Read(char* piece, unsigned size) override { return unzReadCurrentFile(zip_, piece, size); }
  // The CRC is compared here, once all of the entry was read.
  bool Close() override { return unzCloseCurrentFile(zip_) == UNZ_OK; }

 private:
  unzFile zip_;
};

// A free name beside path for the content that is to replace it at the next restart: on
// the same volume, as such a replacement has to be.
std::string NameBeside(const std::string& path) {
  std::string name;
  std::uint32_t next = 0;
  PickFreeName([&next]() { return next++; }, 0xFFFFFFFFu,
               [&path](std::uint32_t n) { return path + "." + std::to_string(n) + ".new"; },
               [](const std::string& candidate) {
                 return PathAttributes(candidate) == INVALID_FILE_ATTRIBUTES ? NameTry::Done : NameTry::Taken;
               },
               &name);
  return name;
}

// Opens the entry's file, creating its folders only when they are missing and clearing
// attributes only when they are in the way: the first try, which almost always succeeds,
// costs one call (each call on a name not there yet has Wine read the whole folder).
// *replaced tells whether a file of that name was there before.
HANDLE OpenEntryFile(const std::string& path, bool* replaced) {
  HANDLE file = OpenPath(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  *replaced = GetLastError() == ERROR_ALREADY_EXISTS;
  if (file != INVALID_HANDLE_VALUE) return file;
  const DWORD error = GetLastError();
  if (error == ERROR_PATH_NOT_FOUND) {
    if (!CreateFolderPath(FolderPart(path))) return file;
  } else {
    // A read-only, hidden or system file of an earlier installation refuses to be
    // replaced; it would otherwise keep its old content.
    const DWORD attributes = PathAttributes(path);
    const DWORD inTheWay = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || !(attributes & inTheWay) ||
        !SetPathAttributes(path, FILE_ATTRIBUTE_NORMAL)) {
      SetLastError(error);
      return file;
    }
  }
  file = OpenPath(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  *replaced = GetLastError() == ERROR_ALREADY_EXISTS;
  return file;
}

// The file for an entry at path, asking the failure hook when it can't be created. The
// path the content goes to lands in *writtenTo (beside path for a replacement at restart);
// INVALID_HANDLE_VALUE when the entry is not written. *replaced as OpenEntryFile's.
HANDLE CreateEntryFile(const std::string& path, std::string* writtenTo, bool* replaced) {
  for (;;) {
    *writtenTo = path;
    HANDLE file = OpenEntryFile(path, replaced);
    if (file != INVALID_HANDLE_VALUE) return file;
    const DWORD error = GetLastError();
    const WriteFailure choice = AskAboutFailure(path, error);
    if (choice == WriteFailure::Retry) continue;
    if (choice == WriteFailure::Stop) stopRequested = true;
    if (choice != WriteFailure::ReplaceAtRestart) return INVALID_HANDLE_VALUE;
    *writtenTo = NameBeside(path);
    *replaced = false;
    return OpenPath(*writtenTo, GENERIC_WRITE, 0, CREATE_NEW);
  }
}

void Report(const std::string& name, float percent) {
  if (Hook()) Hook()(name, percent);
}

// Writes the current entry (already opened) to file. Ok, or what went wrong: a write the
// system refused or cut short (*error its code), or data that didn't inflate.
enum class EntryWrite { Ok, WriteFailed, Damaged };
EntryWrite WriteCurrentEntry(ArchiveReader& reader, HANDLE file, char* piece, DWORD* error) {
  int read;
  while ((read = reader.Read(piece, kInflatePieceBytes)) > 0) {
    DWORD written = 0;
    if (!WriteFile(file, piece, static_cast<DWORD>(read), &written, nullptr) || written != static_cast<DWORD>(read)) {
      *error = GetLastError();
      // A write cut short without an error is a full volume.
      if (*error == ERROR_SUCCESS) *error = ERROR_DISK_FULL;
      return EntryWrite::WriteFailed;
    }
  }
  return read < 0 ? EntryWrite::Damaged : EntryWrite::Ok;
}

void StampDate(HANDLE file, const FILETIME& modified) {
  if (modified.dwLowDateTime || modified.dwHighDateTime) SetFileTime(file, nullptr, nullptr, &modified);
}

// The current entry (opened) into its file at path, asking the failure hook about each
// failure; closes the entry. True when the whole entry is in place (or set to replace the
// file in the way at the next restart); nothing of a failed entry stays behind.
bool WriteEntry(ArchiveReader& reader, const ArchiveEntry& entry, const std::string& path, char* piece) {
  for (;;) {
    std::string writtenTo;
    bool replaced = false;
    HANDLE file = CreateEntryFile(path, &writtenTo, &replaced);
    if (file == INVALID_HANDLE_VALUE) {
      reader.Close();
      return false;
    }
    DWORD error = ERROR_SUCCESS;
    EntryWrite result = WriteCurrentEntry(reader, file, piece, &error);
    if (!reader.Close() && result == EntryWrite::Ok) result = EntryWrite::Damaged;
    if (result == EntryWrite::Ok) {
      StampDate(file, entry.modified);
      CloseHandle(file);
      // A new file has the archive attribute already: the usual entry needs no further call.
      // A replaced one may keep its old attributes (Wine keeps them).
      if (replaced || entry.attributes != FILE_ATTRIBUTE_ARCHIVE) SetPathAttributes(writtenTo, entry.attributes);
      if (writtenTo != path) {
        MovePath(writtenTo, &path, MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
        Replaced().push_back({path, writtenTo});
      }
      return true;
    }
    // Part of a file is worse than none: it would pass for the whole one.
    CloseHandle(file);
    DeletePath(writtenTo);
    const WriteFailure choice = AskAboutFailure(path, result == EntryWrite::Damaged ? kDamagedEntryError : error);
    if (choice == WriteFailure::Stop) stopRequested = true;
    if (choice != WriteFailure::Retry || !reader.Open()) return false;
  }
}

}  // namespace

void SetExtractProgressHook(ExtractProgressHook hook) { Hook() = std::move(hook); }

void SetExtractFailureHook(ExtractFailureHook hook) { FailureHook() = std::move(hook); }

const std::vector<Replacement>& ReplacedAtRestart() { return Replaced(); }

void StopExtractArchive() { stopRequested = true; }

namespace {

std::string& ForeignName() {
  static std::string name;
  return name;
}

// The short name of what stands at the wide path, in ANSI; false when it has none in ANSI
// (a volume that keeps no short names answers with the long name, which has none).
bool ShortNameOf(const WideText& path, std::string* shortName) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetShortPathNameW(path.data(), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const wchar_t* last = wcsrchr(buffer, L'\\');
  const wchar_t* first = last ? last + 1 : buffer;
  WideText component(first, static_cast<const wchar_t*>(buffer) + length);
  component.push_back(L'\0');
  return ToAnsiExactly(component, shortName) && !shortName->empty();
}

// The ANSI path below destination of a foreign entry (UTF-8 relative path), made where it
// isn't there yet: each part the code page can't hold is created through the wide calls
// and then used by its short name. The file itself (unless isFolder) is created empty.
bool MakeForeignPath(const std::string& destination, const std::string& relativeUtf8, bool isFolder,
                     std::string* ansiRelative, unsigned long* error) {
  ansiRelative->clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = relativeUtf8.find('\\', start);
    const bool last = end == std::string::npos;
    const std::string part = relativeUtf8.substr(start, last ? end : end - start);
    const WideText wide = ToWide(part, CP_UTF8);
    std::string ansi;
    if (!part.empty() && !ToAnsiExactly(wide, &ansi)) {
      if (!CreateFolderPath(destination + *ansiRelative)) {
        *error = GetLastError();
        return false;
      }
      WideText full = ToWide(destination + *ansiRelative, CP_ACP);
      full.pop_back();
      full.insert(full.end(), wide.begin(), wide.end());
      if (last && !isFolder) {
        HANDLE file = CreateFileW(full.data(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
          *error = GetLastError();
          return false;
        }
        CloseHandle(file);
      } else if (!CreateDirectoryW(full.data(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        *error = GetLastError();
        return false;
      }
      if (!ShortNameOf(full, &ansi)) {
        *error = ERROR_FILENAME_EXCED_RANGE;
        return false;
      }
    }
    *ansiRelative += ansi;
    if (last) return true;
    *ansiRelative += '\\';
    start = end + 1;
  }
}

}  // namespace

const std::string& ReportedForeignName() { return ForeignName(); }

bool KeepsShortNames(const std::string& folder) {
  std::string existing = WithTrailingBackslash(folder);
  while (existing.size() > 3 && PathAttributes(existing) == INVALID_FILE_ATTRIBUTES) {
    existing = FolderPart(existing.substr(0, existing.size() - 1));
  }
  // "Ł" has no byte in any Western code page; a name longer than 8 characters must get a
  // short one wherever the volume makes them.
  WideText probe = ToWide(existing + "corvalis-probe-", CP_ACP);
  probe.pop_back();
  for (const wchar_t c : {L'\x141', L'.', L't', L'm', L'p', L'\0'}) probe.push_back(c);
  HANDLE file = CreateFileW(probe.data(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  std::string shortName;
  const bool kept = ShortNameOf(probe, &shortName);
  DeleteFileW(probe.data());
  return kept;
}

std::string PrintableName(std::string name) {
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  }
  return name;
}

EntryName ConvertEntryName(const std::string& storedName, bool utf8) {
  EntryName name;
  if (utf8) {
    const bool hasNul = storedName.find('\0') != std::string::npos;
    if (!hasNul && ToAnsiExactly(ToWide(storedName, CP_UTF8), &name.text)) {
      name.text = SlashesToBackslashes(name.text);
      return name;
    }
    // Kept in UTF-8; one with a NUL stays as it is for the entry-name rule to refuse.
    name.foreign = !hasNul;
    name.text = SlashesToBackslashes(storedName);
    return name;
  }
  name.text.assign(storedName.size(), '\0');
  if (!storedName.empty())
    OemToCharBuffA(storedName.data(), &name.text[0], static_cast<DWORD>(storedName.size()));
  name.text = SlashesToBackslashes(name.text);
  return name;
}

namespace {

// The current entry and its name as unpacking reads it; false when the directory can't be
// read there.
bool ReadCurrentEntry(ArchiveReader& reader, ArchiveEntry* entry, EntryName* name) {
  if (!reader.Current(entry)) return false;
  *name = ConvertEntryName(entry->storedName, entry->utf8);
  return true;
}

}  // namespace

ArchiveNames ReadArchiveNames(const std::string& archivePath) {
  ArchiveNames names;
  const std::unique_ptr<ArchiveReader> reader = OpenArchiveReader(archivePath);
  if (!reader) return names;
  names.readable = true;
  for (bool more = reader->First(); more; more = reader->Next()) {
    ArchiveEntry entry;
    EntryName name;
    if (!ReadCurrentEntry(*reader, &entry, &name)) continue;
    const EntryTarget target = ResolveEntryTarget(name.text, true);
    if (target.kind == EntryKind::Refused && !names.anyRefused) {
      names.anyRefused = true;
      names.refused = PrintableName(name.text);
    } else if (name.foreign && names.firstForeign.empty()) {
      names.firstForeign = name.text;
    } else if (!name.foreign && (target.kind == EntryKind::Folder || target.kind == EntryKind::File)) {
      // A foreign entry's folders go by short names, known once they are made.
      names.targets.push_back(target.relativePath);
    }
  }
  return names;
}

void ExtractArchive(const std::string& archivePath, const std::string& pattern,
                    const std::string& destinationFolder, int keepPaths) {
  std::unique_ptr<ArchiveReader> reader = OpenArchiveReader(archivePath);
  if (!reader) return;
  const std::string destination = WithTrailingBackslash(destinationFolder);
  std::unique_ptr<char[]> piece(new (std::nothrow) char[kInflatePieceBytes]);
  const unsigned long count = reader->Count();
  bool destinationMade = false;
  unsigned long gone = 0;
  stopRequested = false;
  Replaced().clear();

  for (bool more = reader->First(); more && !stopRequested; more = reader->Next()) {
    ++gone;
    const float percent = count ? 100.0f * static_cast<float>(gone) / static_cast<float>(count) : 100.0f;
    ArchiveEntry entry;
    EntryName converted;
    if (!ReadCurrentEntry(*reader, &entry, &converted)) {
      Report(std::string(), percent);
      continue;
    }
    const std::string& name = converted.text;
    ForeignName().clear();

    // A refused name is never passed on, matched or not: whoever records the reported names
    // would later delete that path.
    const EntryTarget target = ResolveEntryTarget(name, keepPaths != 0);
    if (target.kind == EntryKind::Refused) {
      Report(std::string(), percent);
      continue;
    }
    if (!ShouldProcessEntry(pattern, name, entry.size, keepPaths != 0) ||
        target.kind == EntryKind::Skip) {
      Report(name, percent);
      continue;
    }
    // An entry that can't be opened (its local header disagrees with the directory) is as
    // damaged as one that fails its CRC: never skipped without a word.
    if (!piece || !reader->Open()) {
      const unsigned long error = piece ? kDamagedEntryError : ERROR_NOT_ENOUGH_MEMORY;
      if (AskAboutFailure(destination + target.relativePath, error) == WriteFailure::Stop) stopRequested = true;
      Report(std::string(), percent);
      continue;
    }
    if (!destinationMade) {
      CreateFolderPath(destination);
      destinationMade = true;
    }
    std::string relative = target.relativePath;
    if (converted.foreign) {
      unsigned long error = 0;
      if (!MakeForeignPath(destination, target.relativePath, target.kind == EntryKind::Folder, &relative, &error)) {
        reader->Close();
        if (AskAboutFailure(destination + target.relativePath, error) == WriteFailure::Stop) stopRequested = true;
        Report(std::string(), percent);
        continue;
      }
      ForeignName() = target.relativePath;
    }
    const std::string path = destination + relative;
    if (target.kind == EntryKind::Folder) {
      reader->Close();
      // Only a folder that is there is anyone's to record.
      Report(CreateFolderPath(path) ? relative : std::string(), percent);
      continue;
    }
    Report(WriteEntry(*reader, entry, path, piece.get()) ? relative : std::string(), percent);
  }
  reader.reset();
  ForeignName().clear();
  if (!stopRequested) Report(std::string(), 100.0f);
}

std::unique_ptr<ArchiveReader> OpenArchiveReader(const std::string& path) {
  char start[8] = {};
  HANDLE file = OpenPath(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  DWORD read = 0;
  const bool readable = ReadFile(file, start, sizeof start, &read, nullptr) != 0;
  CloseHandle(file);
  if (!readable) return nullptr;
  if (HasSolidSignature(start, read)) return OpenSolidArchive(path);
  unzFile zip = unzOpen(path.c_str());
  if (!zip) return nullptr;
  std::unique_ptr<ArchiveReader> reader(new (std::nothrow) ZipReader(zip));
  if (!reader) unzClose(zip);
  return reader;
}

}  // namespace corvalis
