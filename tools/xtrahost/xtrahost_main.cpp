// xtrahost: loads an Xtra as the authoring host would, registers it, makes one
// instance and runs Lingo calls on it, then checks that everything was handed back.
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tools/xtrahost/host_options.h"
#include "tools/xtrahost/lingo_call.h"
#include "tools/xtrahost/stage_window_win32.h"
#include "tools/xtrahost/xtra_session.h"
#include "xtra/osutil/host_encoding.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitLeak = 2;

std::string FromWide(const wchar_t* text, UINT codePage) {
  const int bytes = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, text, -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes) - 1);
  return out;
}

std::string Utf8ToAnsi(const std::string& text) {
  const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
  if (units <= 1) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(units));
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), units);
  return FromWide(wide.data(), CP_ACP);
}

std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) args.push_back(FromWide(wide[i], CP_UTF8));
  LocalFree(wide);
  return args;
}

std::string Hex(XtraCode code) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", unsigned(code));
  return text;
}

void PrintRegistration(const XtraHost& host) {
  for (const XtraHost::RegistryEntry& entry : host.Entries()) {
    std::cout << "registry entry: class " << FormatGuid(entry.classId) << " interface "
              << FormatGuid(entry.interfaceId) << "\n";
    auto table = entry.values.find("msgTable");
    if (table != entry.values.end()) {
      std::cout << "msgTable:\n" << table->second.bytes;
      if (table->second.bytes.empty() || table->second.bytes.back() != '\n') std::cout << "\n";
    } else {
      std::cout << "msgTable: (not stored)\n";
    }
    auto safe = entry.values.find("safeForShockwave");
    if (safe != entry.values.end() && !safe->second.bytes.empty()) {
      std::cout << "safeForShockwave: " << int(static_cast<unsigned char>(safe->second.bytes[0])) << "\n";
    } else {
      std::cout << "safeForShockwave: (not stored)\n";
    }
  }
}

// Runs the calls; false when any of them failed to parse or map.
bool RunCalls(XtraHost& host, IMoaMmXScript* script, const MethodTable& table, const HostOptions& options,
              bool utf8) {
  bool allRan = true;
  auto run = [&](const std::string& line) {
    if (IsBlankOrComment(line)) return;
    std::string output;
    int32_t pause = 0;
    if (ParseSleepLine(line, &pause, &output)) {
      if (output.empty()) {
        Sleep(DWORD(pause));
      } else {
        std::cerr << "error: " << output << "\n";
        allRan = false;
      }
      return;
    }
    const bool ran = RunLingoLine(host, script, table, line, &output);
    (ran ? std::cout : std::cerr) << output << "\n";
    std::cout.flush();
    allRan = allRan && ran;
  };
  if (!options.calls.empty()) {
    for (const std::string& call : options.calls) run(utf8 ? call : Utf8ToAnsi(call));
    return allRan;
  }
  // Standard input is taken as it comes, already in the host's encoding.
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    run(line);
  }
  return allRan;
}

int RunHost(const HostOptions& options) {
  XtraHost host;
  host.hostVersion = options.hostVersion;
  for (const std::string& service : options.without) {
    if (!host.SetUnavailable(service)) {
      std::cerr << "xtrahost: unknown service " << service << "\n" << kHostUsage;
      return kExitFailure;
    }
  }
  for (const std::string& fault : options.faults) {
    if (!host.SetFault(fault)) {
      std::cerr << "xtrahost: unknown fault " << fault << "\n" << kHostUsage;
      return kExitFailure;
    }
  }
  // The Xtras read the same version text through the same rule.
  const bool utf8 = HostVersionUsesUtf8(options.hostVersion.c_str());
  host.stageWindow = CreateStageWindow();

  XtraModule module;
  std::string error;
  const std::string path = Utf8ToAnsi(options.xtraPath);
  if (!LoadXtraModule(path, &module, &error)) {
    std::cerr << "xtrahost: " << error << "\n";
    DestroyStageWindow(host.stageWindow);
    return kExitFailure;
  }
  std::cout << "xtra: " << path << "\n";

  int exitCode = 0;
  std::vector<ClassInfoEntry> classes;
  XtraCode code = ReadClassInfo(host, module, &classes);
  if (code != kXtraOk) {
    std::cerr << "xtrahost: DllGetClassInfo failed with " << Hex(code) << "\n";
    exitCode = kExitFailure;
  }
  for (const ClassInfoEntry& entry : classes) {
    std::cout << "class " << FormatGuid(entry.classId) << " " << Hex(entry.classVersion) << " interface "
              << FormatGuid(entry.interfaceId) << " " << Hex(entry.interfaceVersion) << "\n";
  }

  XtraGuid registerClass{};
  XtraGuid scriptClass{};
  if (exitCode == 0 && FindClassWith(classes, kIID_IMoaRegister, &registerClass)) {
    code = RegisterXtra(host, module, registerClass);
    PrintRegistration(host);
    if (code != kXtraOk) {
      std::cerr << "xtrahost: Register failed with " << Hex(code) << "\n";
      exitCode = kExitFailure;
    }
  }

  MethodTable table;
  for (const XtraHost::RegistryEntry& entry : host.Entries()) {
    auto text = entry.values.find("msgTable");
    if (text != entry.values.end()) table = ParseMethodTable(text->second.bytes);
  }

  if (exitCode == 0 && FindClassWith(classes, kIID_IMoaMmXScript, &scriptClass)) {
    XtraInstance instance;
    code = CreateInstance(host, module, scriptClass, &instance);
    if (code != kXtraOk) {
      std::cerr << "xtrahost: creating the instance failed with " << Hex(code) << "\n";
      exitCode = kExitFailure;
    } else {
      // Lingo's new() reaches a table's "new" handler before anything else.
      if (!table.methods.empty() && table.methods[0].name == "new") {
        host.Values().Clear();
        HostValue ignored = HostValueStore::Void();
        CallSelector(instance.script, 0, {}, &ignored, table.methods[0].argumentCount);
      }
      if (!RunCalls(host, instance.script, table, options, utf8)) exitCode = kExitFailure;
      ReleaseInstance(&instance);
    }
  }

  code = module.canUnloadNow();
  std::cout << "DllCanUnloadNow: " << Hex(code) << "\n";
  if (code != kXtraOk) {
    std::cerr << "xtrahost: interface objects are still alive\n";
    exitCode = kExitLeak;
  }
  for (const std::string& held : host.HeldServices()) {
    std::cerr << "xtrahost: not released: " << held << "\n";
    exitCode = kExitLeak;
  }
  if (host.classObjects != 0 || host.LiveBlocks() != 0 || host.badFrees != 0) {
    std::cerr << "xtrahost: " << host.classObjects << " class objects and " << host.LiveBlocks()
              << " blocks left, " << host.badFrees << " bad frees\n";
    exitCode = kExitLeak;
  }
  // The module stays loaded until the process ends: an Xtra's threads may still be
  // running in it after its last object went.
  DestroyStageWindow(host.stageWindow);
  return exitCode;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  HostOptions options;
  std::string error;
  if (!ParseHostOptions(Utf8Arguments(), &options, &error)) {
    std::cerr << "xtrahost: " << error << "\n" << kHostUsage;
    return kExitFailure;
  }
  return RunHost(options);
}
