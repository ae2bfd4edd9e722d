#include "common/run_log.h"

#include <windows.h>

#include "common/ansi_text.h"
#include "common/exit_codes.h"
#include "common/long_paths.h"

namespace corvalis {

namespace {

HANDLE logFile = INVALID_HANDLE_VALUE;
bool started = false;
std::string waiting;  // lines before the file is open

void Write(const std::string& bytes) {
  DWORD written = 0;
  WriteFile(logFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

LogTime CurrentLogTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return LogTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

bool OpenRunLog(const std::string& path, bool append) {
  // A log asked for in a folder not made yet ("C:\ProgramData\Logs\x.log") gets it made.
  if (GetFileAttributesA(FolderPart(path).c_str()) == INVALID_FILE_ATTRIBUTES) CreateFolderPath(FolderPart(path));
  if (!append) {
    HANDLE fresh = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (fresh == INVALID_HANDLE_VALUE) return false;
    CloseHandle(fresh);
  }
  // Append-only access: each line lands whole at the end, whoever else writes there.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (logFile != INVALID_HANDLE_VALUE) CloseHandle(logFile);
  logFile = file;
  started = true;
  Write(waiting);
  std::string().swap(waiting);
  return true;
}

void StartRunLog() { started = true; }

bool RunLogStarted() { return started; }

bool RunLogIsOpen() { return logFile != INVALID_HANDLE_VALUE; }

void LogLine(const std::string& text) { LogLineUtf8(AnsiToUtf8(text)); }

void LogLineUtf8(const std::string& utf8) {
  if (!started) return;
  const std::string line = FormatLogLine(CurrentLogTime(), utf8);
  if (logFile == INVALID_HANDLE_VALUE) {
    waiting += line;
  } else {
    Write(line);
  }
}

void LogExitCode(int code) { LogLine("exit code " + std::to_string(code) + " (" + ExitCodeMeaning(code) + ")"); }

}  // namespace corvalis
