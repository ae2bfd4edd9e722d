// How the substitute host drives an Xtra: its class objects, registration, the
// scripting instance and Lingo calls. Plain code over the module's exports, so
// tests drive the same steps as xtrahost.exe.
#pragma once

#include <string>
#include <vector>

#include "tools/xtrahost/host_services.h"
#include "tools/xtrahost/method_table.h"

struct XtraModule {
  void* handle = nullptr;
  DllGetClassObjectProc getClassObject = nullptr;
  DllCanUnloadNowProc canUnloadNow = nullptr;
  DllGetClassFormProc getClassForm = nullptr;
  DllGetInterfaceProc getInterface = nullptr;
  DllGetClassInfoProc getClassInfo = nullptr;
};

// Win32: LoadLibraryA and the five exports; false with a message when one is missing.
bool LoadXtraModule(const std::string& path, XtraModule* module, std::string* error);
// Only for a module that started no threads: xtrahost.exe itself keeps every Xtra
// loaded until the process ends, since an Xtra's threads may outlive its objects.
void UnloadXtraModule(XtraModule* module);

// A class object as the host makes it: the class's size from the host's allocator,
// the header filled, the create procedure run. The host holds one reference; the
// last Release runs the destroy procedure and frees the object.
XtraCode CreateClassObject(XtraHost& host, const XtraModule& module, const XtraGuid& classId,
                           XtraObjectHeader** out);

// The class information array, copied up to its terminator; the host frees the array.
XtraCode ReadClassInfo(XtraHost& host, const XtraModule& module, std::vector<ClassInfoEntry>* entries);
bool FindClassWith(const std::vector<ClassInfoEntry>& entries, const XtraGuid& interfaceId, XtraGuid* classId);

// Register through a fresh class object of the registration class.
XtraCode RegisterXtra(XtraHost& host, const XtraModule& module, const XtraGuid& classId);

struct XtraInstance {
  XtraObjectHeader* object = nullptr;
  IMoaMmXScript* script = nullptr;
};
XtraCode CreateInstance(XtraHost& host, const XtraModule& module, const XtraGuid& classId, XtraInstance* instance);
void ReleaseInstance(XtraInstance* instance);

// One Call with args[0] the instance reference; the result slot starts as *result.
// The array holds at least declaredArguments values (the reference included),
// padded with Void as Lingo does for arguments a call leaves out.
XtraCode CallSelector(IMoaMmXScript* script, int32_t selector, const std::vector<HostValue>& lingoArgs,
                      HostValue* result, size_t declaredArguments = 0);

// Parses and runs one line; *output is the result in Lingo's notation, or the
// error when the line isn't a call of the table. Clears the host's values first.
bool RunLingoLine(XtraHost& host, IMoaMmXScript* script, const MethodTable& table, const std::string& line,
                  std::string* output);
