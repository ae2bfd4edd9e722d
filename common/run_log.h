// The run's log: one line per event, each with its time, in UTF-8, written through at
// once so that a run that is killed leaves what it did. One log per process; until it is
// opened nothing is written. Both stages of the uninstaller may write into one file.
#pragma once

#include <string>

namespace corvalis {

struct LogTime {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// "2026-12-07 23:01:02.345 " + text + CR LF.
std::string FormatLogLine(const LogTime& time, const std::string& text);
// folder + name + "-" + what + "-yyyymmdd-hhmmss.log"; characters no file name may hold
// become "_".
std::string DefaultLogPath(const std::string& folder, const std::string& name, const std::string& what,
                           const LogTime& time);
// "yyyymmdd", as the uninstall entry's InstallDate.
std::string DateStamp(const LogTime& time);

// The local time now.
LogTime CurrentLogTime();

// The run keeps a log from now on. Its lines wait in memory until OpenRunLog gives them a
// file (the default name needs the program's name, which is read later).
void StartRunLog();
bool RunLogStarted();
// Gives the log its file: a new one, or (append) the end of an existing one, with the lines
// kept so far. False when it can't be opened; the run goes on without a file then.
bool OpenRunLog(const std::string& path, bool append);
bool RunLogIsOpen();
// One line of ANSI text; nothing unless the log was started.
void LogLine(const std::string& text);
// The same for a text that is UTF-8 already (a name the ANSI code page can't hold).
void LogLineUtf8(const std::string& utf8);
// The last line: the exit code and its meaning.
void LogExitCode(int code);

}  // namespace corvalis
