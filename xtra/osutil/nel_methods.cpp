// Method handlers of "nelOSUtil", by selector: arguments in through the value
// service and the text conversions, the work, the result out.
#include <cstring>

#include "xtra/osutil/ini_access.h"
#include "xtra/osutil/nel_work.h"
#include "xtra/osutil/nel_xtra.h"
#include "xtra/osutil/text_conversion.h"

namespace {

// Desktop, documents, program files.
constexpr int kCsidlDesktopFolder = 0x10;
constexpr int kCsidlDocumentsFolder = 0x05;
constexpr int kCsidlProgramFolder = 0x26;

// One Lingo call: its record, the instance's value service and the per-call buffers,
// cleared at the start of every call.
struct MethodCall {
  MethodCall(IMoaMmXScript* script, XtraCallRecord* call)
      : script(script), record(call), values(NelInstance(script)->value) {
    std::memset(&buffers, 0, sizeof buffers);
  }

  // Conversion codes aren't checked: an argument that doesn't convert stays empty or 0.
  void ReadText(int argument, char* buffer) {
    values->ops->ValueToString(values, &record->args[argument], buffer, kTextBytes);
  }
  int32_t ReadInteger(int argument) {
    int32_t number = 0;
    values->ops->ValueToInteger(values, &record->args[argument], &number);
    return number;
  }
  void ReturnHostText(const char* text) { values->ops->StringToValue(values, text, &record->result); }
  void ReturnText(const char* systemText) {
    ToHostText(systemText, buffers.second, kTextBytes);
    ReturnHostText(buffers.second);
  }
  void ReturnInteger(int32_t number) { values->ops->IntegerToValue(values, number, &record->result); }

  IMoaMmXScript* script;
  XtraCallRecord* record;
  NelValueService* values;
  struct {
    char argument[kTextBytes];
    char result[kTextBytes];
    char second[kTextBytes];
    char section[kNameBytes];
    char key[kNameBytes];
  } buffers;
};

template <void (*Work)(char*)>
void SystemTextMethod(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  Work(call.buffers.result);
  call.ReturnText(call.buffers.result);
}

template <int Csidl>
void FixedFolderMethod(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  FolderText(Csidl, call.buffers.result);
  call.ReturnText(call.buffers.result);
}

void GetSpecialFolder(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  FolderText(call.ReadInteger(1), call.buffers.result);
  call.ReturnText(call.buffers.result);
}

template <void (*Dialog)(void*, char*, const char*)>
void FileDialogMethod(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  call.ReadText(1, call.buffers.argument);
  PathFromHost(call.buffers.argument, call.buffers.result, kTextBytes);
  call.ReadText(2, call.buffers.argument);
  FromHostText(call.buffers.argument, call.buffers.second, kTextBytes);
  Dialog(StageWindowOf(script), call.buffers.result, call.buffers.second);
  call.ReturnText(call.buffers.result);
}

void ChooseColor(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  ColourValueService* colours = nullptr;
  XtraQueryInterface(InterfaceOwner(script)->callback, kIID_ColourValueService, reinterpret_cast<void**>(&colours));
  if (!colours) {
    call.ReturnInteger(0);
    return;
  }
  ColourRecord colour = {255, 0, 0, kColourKindRgb};
  colours->ops->ValueToColour(colours, &record->args[1], &colour);
  const uint32_t initial = colour.red | (colour.green << 8) | (uint32_t(colour.blue) << 16);
  const int32_t chosen = ChooseColourDialog(StageWindowOf(script), initial);
  if (chosen < 0) {
    call.ReturnInteger(0);
  } else {
    const ColourRecord result = {uint8_t(chosen), uint8_t(chosen >> 8), uint8_t(chosen >> 16), kColourKindRgb};
    colours->ops->ColourToValue(colours, &result, &record->result);
  }
  XtraRelease(colours);
}

// The INI methods' isUtf8 first, then section and key (arguments 1 and 2) and the
// file's path into the second buffer.
int ReadIniArguments(MethodCall& call, int isUtf8Argument, int fileArgument) {
  const int isUtf8 = call.ReadInteger(isUtf8Argument);
  call.ReadText(1, call.buffers.argument);
  IniNameFromHost(call.buffers.argument, isUtf8, call.buffers.section, kNameBytes);
  call.ReadText(2, call.buffers.argument);
  IniNameFromHost(call.buffers.argument, isUtf8, call.buffers.key, kNameBytes);
  call.ReadText(fileArgument, call.buffers.argument);
  PathFromHost(call.buffers.argument, call.buffers.second, kTextBytes);
  return isUtf8;
}

void ReadINI(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  const int isUtf8 = ReadIniArguments(call, 4, 3);
  ReadIniValue(call.buffers.second, call.buffers.section, call.buffers.key, isUtf8 == 1, call.buffers.result,
               kTextBytes);
  IniTextToHost(call.buffers.result, isUtf8, call.buffers.second, kTextBytes);
  call.ReturnHostText(call.buffers.second);
}

void WriteINI(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  const int isUtf8 = ReadIniArguments(call, 5, 4);
  call.ReadText(3, call.buffers.argument);
  IniNameFromHost(call.buffers.argument, isUtf8, call.buffers.result, kTextBytes);
  call.ReturnInteger(
      WriteIniValue(call.buffers.second, call.buffers.section, call.buffers.key, call.buffers.result, isUtf8 == 1));
}

void DeleteINI(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  const int isUtf8 = ReadIniArguments(call, 4, 3);
  call.ReturnInteger(DeleteIniValue(call.buffers.second, call.buffers.section, call.buffers.key, isUtf8 == 1));
}

// The other platform's path conversions: here the text comes back as it went in.
void SamePath(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  call.ReadText(1, call.buffers.argument);
  call.ReturnHostText(call.buffers.argument);
}

template <int32_t (*Ime)(void*, int32_t)>
void ImeSetter(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  call.ReturnInteger(Ime(StageWindowOf(script), call.ReadInteger(1)));
}

template <int32_t (*Ime)(void*)>
void ImeGetter(IMoaMmXScript* script, XtraCallRecord* record) {
  MethodCall call(script, record);
  call.ReturnInteger(Ime(StageWindowOf(script)));
}

constexpr XtraMethodHandler kHandlers[] = {
    &SystemTextMethod<&ProcessNameText>,
    &SystemTextMethod<&UserNameText>,
    &SystemTextMethod<&UserNameText>,  // the logon name too, not a display name
    &SystemTextMethod<&ComputerNameText>,
    &SystemTextMethod<&OsNameText>,
    &SystemTextMethod<&OsVersionText>,
    &SystemTextMethod<&MacAddressText>,
    &SystemTextMethod<&SystemIdText>,
    &FixedFolderMethod<kCsidlDesktopFolder>,
    &FixedFolderMethod<kCsidlDocumentsFolder>,
    &FixedFolderMethod<kCsidlProgramFolder>,
    &FixedFolderMethod<kTempFolder>,
    &GetSpecialFolder,
    &FileDialogMethod<&OpenFileDialog>,
    &FileDialogMethod<&SaveFileDialog>,
    &ChooseColor,
    &ReadINI,
    &WriteINI,
    &DeleteINI,
    &SamePath,  // HFStoPOSIX
    &SamePath,  // POSIXtoHFS
    &ImeSetter<&SetImeOpenState>,
    &ImeGetter<&GetImeOpenState>,
    &ImeSetter<&SetImeConversion>,
    &ImeGetter<&GetImeConversion>,
};
static_assert(sizeof kHandlers / sizeof kHandlers[0] == 25, "selectors 0 to 24");

}  // namespace

const XtraMethodTable kNelMethods = {0, 25, kHandlers};
