// The open, save and colour dialogs and the input method, for selectors 13 to 15 and 21 to 24.
#include <windows.h>
#include <commdlg.h>
#include <imm.h>

#include <cstdlib>
#include <cstring>

#include "xtra/osutil/nel_text.h"
#include "xtra/osutil/nel_work.h"
#include "xtra/osutil/path_text.h"
#include "xtra/osutil/system_functions.h"

namespace {

// The record without the trailing fields of newer systems, as every version takes it.
constexpr DWORD kFileDialogRecordBytes = 76;
constexpr DWORD kColourDialogFlags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;

// The dialog's custom colours, kept from call to call for the life of the process.
COLORREF customColours[16];

SystemLibrary inputMethod = {"imm32.dll", nullptr, false};

bool IsFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

// The work buffers of one file dialog: the filter list and the initial folder.
struct FileDialog {
  char filter[kTextBytes];
  char initialFolder[kTextBytes];
  OPENFILENAMEA record;
};

// From the heap: with its two buffers the record is too large for a host thread's stack frame.
FileDialog* NewFileDialog(void* owner, char* path, const char* filterText) {
  auto* dialog = static_cast<FileDialog*>(std::calloc(1, sizeof(FileDialog)));
  if (!dialog) return nullptr;
  BuildDialogFilter(filterText, dialog->filter, sizeof dialog->filter);
  dialog->record.lStructSize = kFileDialogRecordBytes;
  dialog->record.hwndOwner = static_cast<HWND>(owner);
  dialog->record.lpstrFilter = dialog->filter;
  dialog->record.lpstrFile = path;
  dialog->record.nMaxFile = kTextBytes;
  dialog->record.lpstrInitialDir = dialog->initialFolder;
  return dialog;
}

template <class F>
F ImmFunction(const char* name) {
  return SystemFunctionAs<F>(inputMethod, name);
}

using ImmGetContextFn = HIMC(WINAPI*)(HWND);
using ImmReleaseContextFn = BOOL(WINAPI*)(HWND, HIMC);

// The window's input context for the length of one method.
class InputContext {
 public:
  explicit InputContext(void* owner) : window_(static_cast<HWND>(owner)) {
    auto getContext = ImmFunction<ImmGetContextFn>("ImmGetContext");
    context_ = getContext ? getContext(window_) : nullptr;
  }
  ~InputContext() {
    auto releaseContext = ImmFunction<ImmReleaseContextFn>("ImmReleaseContext");
    if (context_ && releaseContext) releaseContext(window_, context_);
  }
  InputContext(const InputContext&) = delete;
  InputContext& operator=(const InputContext&) = delete;
  HIMC Get() const { return context_; }

 private:
  HWND window_;
  HIMC context_;
};

bool ConversionStatus(HIMC context, DWORD* conversion, DWORD* sentence) {
  using Fn = BOOL(WINAPI*)(HIMC, LPDWORD, LPDWORD);
  auto getStatus = ImmFunction<Fn>("ImmGetConversionStatus");
  return context && getStatus && getStatus(context, conversion, sentence);
}

}  // namespace

void OpenFileDialog(void* owner, char* path, const char* filter) {
  FileDialog* dialog = NewFileDialog(owner, path, filter);
  if (!dialog) {
    path[0] = '\0';
    return;
  }
  if (IsFolder(path)) {
    CopyCut(path, dialog->initialFolder, kTextBytes);
    path[0] = '\0';
  } else if (!Exists(path)) {
    RemoveFileSpec(path);
    if (IsFolder(path)) CopyCut(path, dialog->initialFolder, kTextBytes);
    path[0] = '\0';
  }
  dialog->record.Flags = OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameA(&dialog->record)) path[0] = '\0';
  std::free(dialog);
}

void SaveFileDialog(void* owner, char* path, const char* filter) {
  FileDialog* dialog = NewFileDialog(owner, path, filter);
  if (!dialog) {
    path[0] = '\0';
    return;
  }
  CopyCut(path, dialog->initialFolder, kTextBytes);
  if (IsFolder(path)) {
    path[0] = '\0';
  } else {
    RemoveFileSpec(dialog->initialFolder);
    if (!IsFolder(dialog->initialFolder)) path[0] = '\0';
    dialog->initialFolder[0] = '\0';
  }
  dialog->record.Flags = OFN_OVERWRITEPROMPT;
  dialog->record.lpstrDefExt = "*";
  if (!GetSaveFileNameA(&dialog->record)) path[0] = '\0';
  std::free(dialog);
}

int32_t ChooseColourDialog(void* owner, uint32_t initialColour) {
  CHOOSECOLORA record;
  std::memset(&record, 0, sizeof record);
  record.lStructSize = sizeof record;
  record.hwndOwner = static_cast<HWND>(owner);
  record.rgbResult = initialColour;
  record.lpCustColors = customColours;
  record.Flags = kColourDialogFlags;
  if (!ChooseColorA(&record)) return -1;
  return static_cast<int32_t>(record.rgbResult & 0x00FFFFFFu);
}

int32_t SetImeOpenState(void* owner, int32_t open) {
  InputContext context(owner);
  using Fn = BOOL(WINAPI*)(HIMC, BOOL);
  auto setOpen = ImmFunction<Fn>("ImmSetOpenStatus");
  if (context.Get() && setOpen) setOpen(context.Get(), open != 0);
  return 1;
}

int32_t GetImeOpenState(void* owner) {
  InputContext context(owner);
  using Fn = BOOL(WINAPI*)(HIMC);
  auto getOpen = ImmFunction<Fn>("ImmGetOpenStatus");
  return context.Get() && getOpen && getOpen(context.Get()) ? 1 : 0;
}

int32_t SetImeConversion(void* owner, int32_t mode) {
  InputContext context(owner);
  DWORD conversion = 0;
  DWORD sentence = 0;
  if (!ConversionStatus(context.Get(), &conversion, &sentence)) return 0;
  using Fn = BOOL(WINAPI*)(HIMC, DWORD, DWORD);
  auto setStatus = ImmFunction<Fn>("ImmSetConversionStatus");
  return setStatus && setStatus(context.Get(), static_cast<DWORD>(mode), sentence) ? 1 : 0;
}

int32_t GetImeConversion(void* owner) {
  InputContext context(owner);
  DWORD conversion = 0;
  DWORD sentence = 0;
  return ConversionStatus(context.Get(), &conversion, &sentence) ? static_cast<int32_t>(conversion) : 0;
}
