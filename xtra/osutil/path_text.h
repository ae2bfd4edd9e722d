// Path and filter texts as the file dialogs and INI methods take them.
#pragma once

#include <cstddef>

void SlashesToBackslashes(char* path);
// Removes the last component in place as the shell's PathRemoveFileSpecA does: the
// root of "C:\a" stays "C:\", "C:\a\b" becomes "C:\a", a bare name becomes "".
void RemoveFileSpec(char* path);
// "C:\Temp\" becomes "C:\Temp", a drive root "C:\" becomes "C:".
void RemoveTrailingBackslash(char* path);
// "All |*.*|Text File|*.txt|" as the dialogs' list of NUL-separated pairs in the
// zero-filled out buffer of n bytes, always ending in two NULs.
void BuildDialogFilter(const char* filter, char* out, size_t n);
