// The running system's ANSI code page: a Russian or Polish Windows reads and folds its
// own letters, which no fixed table could do.
#include <windows.h>

#include <vector>

#include "common/ansi_text.h"

namespace corvalis {

std::string ToLowerAnsi(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::string Utf8ToAnsi(const std::string& utf8) {
  if (utf8.empty()) return std::string();
  const int length = static_cast<int>(utf8.size());
  int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  if (wide <= 0) return std::string(utf8.size(), '?');
  std::vector<wchar_t> buffer(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, buffer.data(), wide);
  // No ANSI code page reaches beyond the first plane: a surrogate pair is one character
  // and costs one "?", not two.
  std::size_t kept = 0;
  for (std::size_t i = 0; i < buffer.size(); ++i) {
    const bool pair = buffer[i] >= 0xD800 && buffer[i] <= 0xDBFF && i + 1 < buffer.size() &&
                      buffer[i + 1] >= 0xDC00 && buffer[i + 1] <= 0xDFFF;
    buffer[kept++] = pair ? L'\xFFFD' : buffer[i];
    if (pair) ++i;
  }
  wide = static_cast<int>(kept);
  const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string(utf8.size(), '?');
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, buffer.data(), wide, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

std::string AnsiToUtf8(const std::string& ansi) {
  if (ansi.empty()) return std::string();
  const int length = static_cast<int>(ansi.size());
  const int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (wide <= 0) return ansi;
  std::vector<wchar_t> buffer(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, buffer.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return ansi;
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, buffer.data(), wide, &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

}  // namespace corvalis
