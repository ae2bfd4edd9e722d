// The work behind the "nelOSUtil" methods, on plain buffers: system information and
// folders, the file and colour dialogs, the input method. Results are ANSI text in
// buffers of kTextBytes; a failure leaves the result empty.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kTextBytes = 4096;
constexpr size_t kNameBytes = 256;

void ProcessNameText(char* out);
void UserNameText(char* out);
void ComputerNameText(char* out);
void OsNameText(char* out);
void OsVersionText(char* out);
void MacAddressText(char* out);
void SystemIdText(char* out);

// A CSIDL folder, or the temporary folder, in long form without its final backslash.
constexpr int kTempFolder = -1;
void FolderText(int csidl, char* out);

// path: the default path on the way in, the chosen path (or empty) on the way out.
void OpenFileDialog(void* owner, char* path, const char* filter);
void SaveFileDialog(void* owner, char* path, const char* filter);
// The chosen colour as 0x00BBGGRR, or -1 when cancelled; custom colours persist.
int32_t ChooseColourDialog(void* owner, uint32_t initialColour);

int32_t SetImeOpenState(void* owner, int32_t open);
int32_t GetImeOpenState(void* owner);
int32_t SetImeConversion(void* owner, int32_t mode);
int32_t GetImeConversion(void* owner);
