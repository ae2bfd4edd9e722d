// Method handlers of "nelOSUtil", by selector.
#include "xtra/osutil/nel_xtra.h"

namespace {

void GetProcessName(IMoaMmXScript*, XtraCallRecord*) {}
void GetUserName(IMoaMmXScript*, XtraCallRecord*) {}
void GetUserLongName(IMoaMmXScript*, XtraCallRecord*) {}
void GetComputerName(IMoaMmXScript*, XtraCallRecord*) {}
void GetOSName(IMoaMmXScript*, XtraCallRecord*) {}
void GetOSVersion(IMoaMmXScript*, XtraCallRecord*) {}
void GetMacAddress(IMoaMmXScript*, XtraCallRecord*) {}
void GetSystemID(IMoaMmXScript*, XtraCallRecord*) {}
void GetDesktopFolder(IMoaMmXScript*, XtraCallRecord*) {}
void GetDocumentsFolder(IMoaMmXScript*, XtraCallRecord*) {}
void GetProgramFolder(IMoaMmXScript*, XtraCallRecord*) {}
void GetTempFolder(IMoaMmXScript*, XtraCallRecord*) {}
void GetSpecialFolder(IMoaMmXScript*, XtraCallRecord*) {}
void GetOpenFileName(IMoaMmXScript*, XtraCallRecord*) {}
void GetSaveFileName(IMoaMmXScript*, XtraCallRecord*) {}
void ChooseColor(IMoaMmXScript*, XtraCallRecord*) {}
void ReadINI(IMoaMmXScript*, XtraCallRecord*) {}
void WriteINI(IMoaMmXScript*, XtraCallRecord*) {}
void DeleteINI(IMoaMmXScript*, XtraCallRecord*) {}
void HFStoPOSIX(IMoaMmXScript*, XtraCallRecord*) {}
void POSIXtoHFS(IMoaMmXScript*, XtraCallRecord*) {}
void SetIMEOpenState(IMoaMmXScript*, XtraCallRecord*) {}
void GetIMEOpenState(IMoaMmXScript*, XtraCallRecord*) {}
void SetIMEConversion(IMoaMmXScript*, XtraCallRecord*) {}
void GetIMEConversion(IMoaMmXScript*, XtraCallRecord*) {}

constexpr XtraMethodHandler kHandlers[] = {
    &GetProcessName,   &GetUserName,      &GetUserLongName,  &GetComputerName,  &GetOSName,
    &GetOSVersion,     &GetMacAddress,    &GetSystemID,      &GetDesktopFolder, &GetDocumentsFolder,
    &GetProgramFolder, &GetTempFolder,    &GetSpecialFolder, &GetOpenFileName,  &GetSaveFileName,
    &ChooseColor,      &ReadINI,          &WriteINI,         &DeleteINI,        &HFStoPOSIX,
    &POSIXtoHFS,       &SetIMEOpenState,  &GetIMEOpenState,  &SetIMEConversion, &GetIMEConversion,
};
static_assert(sizeof kHandlers / sizeof kHandlers[0] == 25, "selectors 0 to 24");

}  // namespace

const XtraMethodTable kNelMethods = {0, 25, kHandlers};
