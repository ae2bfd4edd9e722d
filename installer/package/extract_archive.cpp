#include "installer/package/extract_archive.h"

#include <windows.h>
#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>
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

std::unique_ptr<ArchiveReader> OpenZipReader(const std::string& path);

class ZipReader final : public ArchiveReader {
 public:
  ZipReader(unzFile zip, const std::string& path) : zip_(zip), path_(path) {}
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
  std::unique_ptr<ArchiveReader> Another() override { return OpenZipReader(path_); }
  bool Where(EntryPlace* place) override {
    unz_file_pos position = {};
    if (unzGetFilePos(zip_, &position) != UNZ_OK) return false;
    *place = {position.pos_in_zip_directory, position.num_of_file};
    return true;
  }
  bool GoTo(const EntryPlace& place) override {
    unz_file_pos position = {static_cast<uLong>(place.offset), static_cast<uLong>(place.number)};
    return unzGoToFilePos(zip_, &position) == UNZ_OK;
  }

 private:
  unzFile zip_;
  std::string path_;
};

std::unique_ptr<ArchiveReader> OpenZipReader(const std::string& path) {
  unzFile zip = unzOpen(path.c_str());
  if (!zip) return nullptr;
  std::unique_ptr<ArchiveReader> reader(new (std::nothrow) ZipReader(zip, path));
  if (!reader) unzClose(zip);
  return reader;
}

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

// False with *error when the system refuses the write or cuts it short.
bool WritePiece(HANDLE file, const char* piece, DWORD size, DWORD* error) {
  DWORD written = 0;
  if (WriteFile(file, piece, size, &written, nullptr) && written == size) return true;
  *error = GetLastError();
  // A write cut short without an error is a full volume.
  if (*error == ERROR_SUCCESS) *error = ERROR_DISK_FULL;
  return false;
}

// Writes the current entry (already opened) to file. Ok, or what went wrong: a write the
// system refused or cut short (*error its code), or data that didn't inflate.
enum class EntryWrite { Ok, WriteFailed, Damaged };
EntryWrite WriteCurrentEntry(ArchiveReader& reader, HANDLE file, char* piece, DWORD* error) {
  int read;
  while ((read = reader.Read(piece, kInflatePieceBytes)) > 0) {
    if (!WritePiece(file, piece, static_cast<DWORD>(read), error)) return EntryWrite::WriteFailed;
  }
  return read < 0 ? EntryWrite::Damaged : EntryWrite::Ok;
}

// A file written whole: its date, closed, its attributes.
void FinishFile(HANDLE file, const ArchiveEntry& entry, const std::string& path, bool replaced) {
  if (entry.modified.dwLowDateTime || entry.modified.dwHighDateTime) {
    SetFileTime(file, nullptr, nullptr, &entry.modified);
  }
  CloseHandle(file);
  // A new file has the archive attribute already: the usual entry needs no further call.
  // A replaced one may keep its old attributes (Wine keeps them).
  if (replaced || entry.attributes != FILE_ATTRIBUTE_ARCHIVE) SetPathAttributes(path, entry.attributes);
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
      FinishFile(file, entry, writtenTo, replaced);
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

// Files are written by several threads when the process may use several processors: one
// per processor, at most this many, the reading thread among them (it writes while it waits).
// The entries are still read, asked about and reported one after the other, in the
// archive's order. Under Wine each thread costs about 1 MiB.
constexpr unsigned kMostWriters = 4;
// Entries read but not yet reported, at most.
constexpr std::size_t kPendingEntries = 16;
// An archive whose writers can't read it themselves (a solid one) has its entries decoded
// by the reading thread and held in memory for a writer: each at most this large (a larger
// one is written in turn by the reading thread), all together at most this much.
constexpr std::uint64_t kHeldEntryBytes = 512 << 10;
constexpr std::uint64_t kHeldBytes = 1 << 20;

unsigned WriterCount() {
  DWORD_PTR process = 0, system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system)) return 1;
  unsigned count = 0;
  for (; process && count < kMostWriters; process &= process - 1) ++count;
  return count;
}

// An entry's data decoded ahead, read as the archive's entry would be.
class HeldEntry final : public ArchiveReader {
 public:
  explicit HeldEntry(const std::vector<char>& data) : data_(data) {}
  unsigned long Count() override { return 1; }
  bool First() override { return true; }
  bool Next() override { return false; }
  bool Current(ArchiveEntry*) override { return false; }
  bool Open() override {
    position_ = 0;
    return true;
  }
  int Read(char* piece, unsigned size) override {
    const std::size_t count = std::min<std::size_t>(size, data_.size() - position_);
    if (count) std::memcpy(piece, data_.data() + position_, count);
    position_ += count;
    return static_cast<int>(count);
  }
  bool Close() override { return true; }

 private:
  const std::vector<char>& data_;
  std::size_t position_ = 0;
};

// An entry between its reading and its report.
struct PendingEntry {
  enum class State { Done, Queued, Written, NotCreated, WriteFailed, Damaged };
  State state = State::Done;
  std::string reported;  // what the progress hook gets; "" once the entry failed
  std::string foreign;   // ReportedForeignName() meanwhile
  float percent = 0;
  // A file's, for its writer:
  ArchiveEntry entry;
  std::string path;
  EntryPlace place;            // where a writer's own reader finds it
  bool held = false;           // or its data, decoded by the reading thread
  std::vector<char> data;
  DWORD error = ERROR_SUCCESS;
};

// A file written by a writer thread, asking nobody: the reading thread asks, in turn,
// about what failed. Nothing of a failed file stays behind.
PendingEntry::State WriteUnasked(PendingEntry& pending, ArchiveReader* own, char* piece) {
  using State = PendingEntry::State;
  if (!pending.held && (!own->GoTo(pending.place) || !own->Open())) return State::Damaged;
  bool replaced = false;
  HANDLE file = OpenEntryFile(pending.path, &replaced);
  if (file == INVALID_HANDLE_VALUE) {
    pending.error = GetLastError();
    if (!pending.held) own->Close();
    return State::NotCreated;
  }
  EntryWrite result = EntryWrite::Ok;
  if (pending.held) {
    // Held data is written as it is, in one piece.
    if (!pending.data.empty() &&
        !WritePiece(file, pending.data.data(), static_cast<DWORD>(pending.data.size()), &pending.error)) {
      result = EntryWrite::WriteFailed;
    }
  } else {
    result = WriteCurrentEntry(*own, file, piece, &pending.error);
    if (!own->Close() && result == EntryWrite::Ok) result = EntryWrite::Damaged;
  }
  if (result == EntryWrite::Ok) {
    FinishFile(file, pending.entry, pending.path, replaced);
    return State::Written;
  }
  CloseHandle(file);
  DeletePath(pending.path);
  return result == EntryWrite::Damaged ? State::Damaged : State::WriteFailed;
}

// The writer threads and the files waiting for them.
class Writers {
 public:
  // count writers: the reading thread and count - 1 threads, each with a reader of its own
  // when the archive gives one.
  Writers(ArchiveReader& archive, unsigned count) {
    InitializeCriticalSection(&lock_);
    if (count < 2) return;
    work_ = CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr);
    done_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    helper_.reader = archive.Another();
    ownReaders_ = helper_.reader != nullptr;
    if (!work_ || !done_ || !Equip(archive, &helper_)) return;
    for (unsigned i = 1; i < count; ++i) {
      std::unique_ptr<Writer> writer(new (std::nothrow) Writer);
      if (!writer || !Equip(archive, writer.get())) break;
      writer->pool = this;
      writer->thread = CreateThread(nullptr, 256 * 1024, Run, writer.get(), STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
      if (!writer->thread) break;
      writers_.push_back(std::move(writer));
    }
  }
  ~Writers() {
    EnterCriticalSection(&lock_);
    quit_ = true;
    LeaveCriticalSection(&lock_);
    if (!writers_.empty()) ReleaseSemaphore(work_, static_cast<LONG>(writers_.size()), nullptr);
    for (const std::unique_ptr<Writer>& writer : writers_) {
      WaitForSingleObject(writer->thread, INFINITE);
      CloseHandle(writer->thread);
    }
    if (work_) CloseHandle(work_);
    if (done_) CloseHandle(done_);
    DeleteCriticalSection(&lock_);
  }
  Writers(const Writers&) = delete;
  Writers& operator=(const Writers&) = delete;

  bool Running() const { return !writers_.empty(); }
  // Whether a writer reads its file's data itself, or it has to be held for it.
  bool ReadThemselves() const { return ownReaders_; }

  void Add(PendingEntry* entry) {
    EnterCriticalSection(&lock_);
    entry->state = PendingEntry::State::Queued;
    // Taken in the order they came; the list is emptied whenever it is all taken.
    if (taken_ == queue_.size()) {
      queue_.clear();
      taken_ = 0;
    }
    queue_.push_back(entry);
    LeaveCriticalSection(&lock_);
    ReleaseSemaphore(work_, 1, nullptr);
  }
  // Whether entry is through; with wait, once it is, the reading thread writing what is
  // waiting meanwhile.
  bool Through(const PendingEntry& entry, bool wait) {
    for (;;) {
      EnterCriticalSection(&lock_);
      const bool through = entry.state != PendingEntry::State::Queued;
      PendingEntry* next = through || !wait ? nullptr : Take();
      LeaveCriticalSection(&lock_);
      if (through || !wait) return through;
      if (next) {
        Write(next, helper_);
      } else {
        WaitForSingleObject(done_, INFINITE);
      }
    }
  }

 private:
  struct Writer {
    Writers* pool = nullptr;
    HANDLE thread = nullptr;
    std::unique_ptr<ArchiveReader> reader;
    std::unique_ptr<char[]> piece;
  };
  // A writer's reader and buffer, when the writers read themselves.
  bool Equip(ArchiveReader& archive, Writer* writer) {
    if (!ownReaders_) return true;
    if (!writer->reader) writer->reader = archive.Another();
    writer->piece.reset(new (std::nothrow) char[kInflatePieceBytes]);
    return writer->piece && writer->reader;
  }
  // The next entry nobody writes yet (under the lock).
  PendingEntry* Take() { return taken_ < queue_.size() ? queue_[taken_++] : nullptr; }
  void Write(PendingEntry* entry, Writer& writer) {
    const PendingEntry::State state = WriteUnasked(*entry, writer.reader.get(), writer.piece.get());
    EnterCriticalSection(&lock_);
    entry->state = state;
    LeaveCriticalSection(&lock_);
    SetEvent(done_);
  }
  static DWORD WINAPI Run(void* parameter) {
    Writer& writer = *static_cast<Writer*>(parameter);
    Writers& pool = *writer.pool;
    for (;;) {
      WaitForSingleObject(pool.work_, INFINITE);
      EnterCriticalSection(&pool.lock_);
      PendingEntry* entry = pool.Take();
      const bool quit = pool.quit_;
      LeaveCriticalSection(&pool.lock_);
      if (entry) {
        pool.Write(entry, writer);
      } else if (quit) {
        return 0;
      }
    }
  }

  CRITICAL_SECTION lock_;
  HANDLE work_ = nullptr;
  HANDLE done_ = nullptr;
  bool quit_ = false;
  bool ownReaders_ = false;
  std::vector<PendingEntry*> queue_;
  std::size_t taken_ = 0;
  Writer helper_;  // the reading thread's
  std::vector<std::unique_ptr<Writer>> writers_;
};

// Paths that can't be written side by side: the same, or one inside the other.
bool Overlap(const std::string& a, const std::string& b) {
  const std::size_t common = std::min(a.size(), b.size());
  if (!EqualsNoCase(a.substr(0, common), b.substr(0, common))) return false;
  const std::string& longer = a.size() > b.size() ? a : b;
  return longer.size() == common || longer[common] == '\\';
}

// The reading thread's side: entries handed to the writers, and every entry reported in
// the archive's order once it is through.
class Unpacking {
 public:
  Unpacking(ArchiveReader& reader, char* piece) : reader_(reader), piece_(piece), writers_(reader, WriterCount()) {}
  ~Unpacking() { Drain(); }
  Unpacking(const Unpacking&) = delete;
  Unpacking& operator=(const Unpacking&) = delete;

  // Whether a file entry of this size and name goes to a writer thread.
  bool HandsOver(const ArchiveEntry& entry, bool foreign) const {
    return writers_.Running() && !foreign && piece_ &&
           (writers_.ReadThemselves() || entry.size <= kHeldEntryBytes);
  }

  // An entry that is through: reported in its turn.
  void Note(const std::string& reported, float percent, const std::string& foreign = std::string()) {
    std::unique_ptr<PendingEntry> done(pending_.empty() ? nullptr : new (std::nothrow) PendingEntry);
    if (!done) {
      Drain();
      Settle(reported, percent, foreign);
      return;
    }
    done->reported = reported;
    done->percent = percent;
    done->foreign = foreign;
    pending_.push_back(std::move(done));
  }

  // The current entry, a file, to a writer thread; false when it is to be written in turn
  // instead (its data doesn't decode whole, or no memory), everything before it reported.
  bool HandOver(const ArchiveEntry& entry, const std::string& path, const std::string& relative, float percent) {
    for (const std::unique_ptr<PendingEntry>& waiting : pending_) {
      if (!waiting->path.empty() && Overlap(waiting->path, path)) {
        Drain();
        break;
      }
    }
    std::unique_ptr<PendingEntry> file(new (std::nothrow) PendingEntry);
    if (file) {
      file->entry = entry;
      file->path = path;
      file->reported = relative;
      file->percent = percent;
    }
    // One that fails to decode is decoded again in turn: the questions come in their order.
    if (!file || (!writers_.ReadThemselves() && !Hold(*file))) {
      Drain();
      return false;
    }
    if (file->held || reader_.Where(&file->place)) {
      writers_.Add(file.get());
    } else {
      file->state = PendingEntry::State::Damaged;
    }
    held_ += file->data.size();
    pending_.push_back(std::move(file));
    while (!pending_.empty() && SettleFirst(pending_.size() >= kPendingEntries || held_ > kHeldBytes)) {
    }
    return true;
  }

  // Every entry read so far reported.
  void Drain() {
    while (!pending_.empty()) SettleFirst(true);
  }

 private:
  void Settle(const std::string& reported, float percent, const std::string& foreign) {
    ForeignName() = foreign;
    Report(reported, percent);
    ForeignName().clear();
  }

  // The current entry's data into file->data; false when it doesn't decode whole.
  bool Hold(PendingEntry& file) {
    if (!reader_.Open()) return false;
    file.held = true;
    file.data.resize(static_cast<std::size_t>(file.entry.size));
    std::size_t filled = 0;
    int read = 0;
    while (filled < file.data.size() &&
           (read = reader_.Read(file.data.data() + filled, static_cast<unsigned>(file.data.size() - filled))) > 0) {
      filled += static_cast<std::size_t>(read);
    }
    char extra = 0;
    const bool whole = filled == file.data.size() && read >= 0 && reader_.Read(&extra, 1) == 0;
    return reader_.Close() && whole;
  }

  // The first pending entry reported once it is through (with wait, when it is); false
  // when it isn't yet.
  bool SettleFirst(bool wait) {
    PendingEntry& first = *pending_.front();
    if (!writers_.Through(first, wait)) return false;
    using State = PendingEntry::State;
    if (first.state != State::Done && first.state != State::Written) {
      bool written = false;
      if (!stopRequested && first.state == State::NotCreated) {
        written = Rewrite(first);  // asks itself if creating it fails again
      } else if (!stopRequested) {
        const WriteFailure choice =
            AskAboutFailure(first.path, first.state == State::Damaged ? kDamagedEntryError : first.error);
        if (choice == WriteFailure::Stop) stopRequested = true;
        written = choice == WriteFailure::Retry && Rewrite(first);
      }
      if (!written) first.reported.clear();
    }
    Settle(first.reported, first.percent, first.foreign);
    held_ -= first.data.size();
    pending_.erase(pending_.begin());
    return true;
  }

  // A file that failed on a writer, written once more here, asking about each failure.
  bool Rewrite(PendingEntry& file) {
    HeldEntry held(file.data);
    if (file.held) return held.Open() && WriteEntry(held, file.entry, file.path, piece_);
    if (!again_) again_ = reader_.Another();
    return again_ && again_->GoTo(file.place) && again_->Open() && WriteEntry(*again_, file.entry, file.path, piece_);
  }

  ArchiveReader& reader_;
  char* piece_;
  std::vector<std::unique_ptr<PendingEntry>> pending_;  // at most kPendingEntries and the notes between
  std::uint64_t held_ = 0;
  std::unique_ptr<ArchiveReader> again_;
  Writers writers_;  // last: its threads end before anything they use goes
};

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

namespace {

void MakeDestinationOnce(const std::string& destination, bool* made) {
  if (*made) return;
  CreateFolderPath(destination);
  *made = true;
}

}  // namespace

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

  {
    Unpacking unpacking(*reader, piece.get());
    for (bool more = reader->First(); more && !stopRequested; more = reader->Next()) {
      ++gone;
      const float percent = count ? 100.0f * static_cast<float>(gone) / static_cast<float>(count) : 100.0f;
      ArchiveEntry entry;
      EntryName converted;
      if (!ReadCurrentEntry(*reader, &entry, &converted)) {
        unpacking.Note(std::string(), percent);
        continue;
      }
      const std::string& name = converted.text;

      // A refused name is never passed on, matched or not: whoever records the reported
      // names would later delete that path.
      const EntryTarget target = ResolveEntryTarget(name, keepPaths != 0);
      if (target.kind == EntryKind::Refused) {
        unpacking.Note(std::string(), percent);
        continue;
      }
      if (!ShouldProcessEntry(pattern, name, entry.size, keepPaths != 0) || target.kind == EntryKind::Skip) {
        unpacking.Note(name, percent);
        continue;
      }
      if (target.kind == EntryKind::File && unpacking.HandsOver(entry, converted.foreign)) {
        MakeDestinationOnce(destination, &destinationMade);
        if (unpacking.HandOver(entry, destination + target.relativePath, target.relativePath, percent)) continue;
      }
      // Everything else in turn, after what was handed over.
      unpacking.Drain();
      // An entry that can't be opened (its local header disagrees with the directory) is as
      // damaged as one that fails its CRC: never skipped without a word.
      if (!piece || !reader->Open()) {
        const unsigned long error = piece ? kDamagedEntryError : ERROR_NOT_ENOUGH_MEMORY;
        if (AskAboutFailure(destination + target.relativePath, error) == WriteFailure::Stop) stopRequested = true;
        unpacking.Note(std::string(), percent);
        continue;
      }
      MakeDestinationOnce(destination, &destinationMade);
      std::string relative = target.relativePath;
      std::string foreign;
      if (converted.foreign) {
        unsigned long error = 0;
        if (!MakeForeignPath(destination, target.relativePath, target.kind == EntryKind::Folder, &relative, &error)) {
          reader->Close();
          if (AskAboutFailure(destination + target.relativePath, error) == WriteFailure::Stop) stopRequested = true;
          unpacking.Note(std::string(), percent);
          continue;
        }
        foreign = target.relativePath;
      }
      const std::string path = destination + relative;
      if (target.kind == EntryKind::Folder) {
        reader->Close();
        // Only a folder that is there is anyone's to record.
        unpacking.Note(CreateFolderPath(path) ? relative : std::string(), percent, foreign);
        continue;
      }
      unpacking.Note(WriteEntry(*reader, entry, path, piece.get()) ? relative : std::string(), percent, foreign);
    }
  }
  reader.reset();
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
  return HasSolidSignature(start, read) ? OpenSolidArchive(path) : OpenZipReader(path);
}

}  // namespace corvalis
