#include <iconv.h>

#include <cerrno>

#include "tools/mkinstaller/package_builder.h"
#include "tools/mkinstaller/text_encodings.h"

namespace mkinstaller {

bool ConvertText(const char* to, const char* from, const std::string& text, std::string* converted) {
  iconv_t convert = iconv_open(to, from);
  if (convert == reinterpret_cast<iconv_t>(-1)) return false;
  std::string input = text;
  std::string output(text.size() * 4 + 4, '\0');
  char* in = &input[0];
  char* out = &output[0];
  std::size_t inLeft = input.size(), outLeft = output.size();
  const bool ok = iconv(convert, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0;
  iconv_close(convert);
  if (!ok) return false;
  output.resize(output.size() - outLeft);
  *converted = output;
  return true;
}

bool Utf8ToCp437(const std::string& utf8, std::string* cp437) {
  cp437->clear();
  bool ascii = true;
  for (unsigned char c : utf8) ascii = ascii && c < 0x80;
  if (ascii) {
    *cp437 = utf8;
    return true;
  }
  return ConvertText("CP437", "UTF-8", utf8, cp437);
}

bool IsUtf8(const std::string& text) {
  std::string ignored;
  return ConvertText("UTF-32LE", "UTF-8", text, &ignored);
}

}  // namespace mkinstaller
