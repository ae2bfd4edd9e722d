#include "common/run_log.h"

namespace corvalis {

namespace {

// Decimal with leading zeros to `digits` places. Not printf: the C runtime's formatting
// would more than double a small program's size.
std::string Padded(int value, int digits) {
  std::string text = std::to_string(value < 0 ? 0 : value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

}  // namespace

std::string FormatLogLine(const LogTime& time, const std::string& text) {
  return Padded(time.Year, 4) + "-" + Padded(time.Month, 2) + "-" + Padded(time.Day, 2) + " " +
         Padded(time.Hour, 2) + ":" + Padded(time.Minute, 2) + ":" + Padded(time.Second, 2) + "." +
         Padded(time.Millisecond, 3) + " " + text + "\r\n";
}

std::string DateStamp(const LogTime& time) {
  return Padded(time.Year, 4) + Padded(time.Month, 2) + Padded(time.Day, 2);
}

std::string DefaultLogPath(const std::string& folder, const std::string& name, const std::string& what,
                           const LogTime& time) {
  std::string safe = name.empty() ? std::string("Corvalis") : name;
  for (char& c : safe) {
    if (static_cast<unsigned char>(c) < 32 || std::string("\\/:*?\"<>|").find(c) != std::string::npos) c = '_';
  }
  return folder + safe + (what.empty() ? "" : "-" + what) + "-" + DateStamp(time) + "-" + Padded(time.Hour, 2) + Padded(time.Minute, 2) +
         Padded(time.Second, 2) + ".log";
}

}  // namespace corvalis
