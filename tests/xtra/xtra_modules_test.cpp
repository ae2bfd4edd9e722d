// The real nelXtra.x32 and NetWireXtra.x32, driven through the substitute host's objects.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/xtra/xtra_test_paths.h"
#include "tools/xtrahost/xtra_session.h"

namespace {

constexpr XtraGuid kNelClass = {0x4EF94A74, 0x88D4, 0x4AA6, {0x93, 0x7F, 0x46, 0x4A, 0xBF, 0xCE, 0xF7, 0x6C}};
constexpr XtraGuid kNetRegisterClass = {0x114AF465, 0x2460, 0x4318, {0x83, 0xED, 0x63, 0x35, 0xDC, 0x71, 0x6F, 0x9D}};
constexpr XtraGuid kNetScriptClass = {0x81C7C73C, 0x5211, 0x40F9, {0xAF, 0x8C, 0x0A, 0x41, 0x3C, 0x57, 0x47, 0x41}};
constexpr XtraGuid kUnknownClass = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};

class XtraModuleTest : public ::testing::Test {
 protected:
  void Load(const char* file) {
    std::string error;
    ASSERT_TRUE(LoadXtraModule(DistFile(file), &module, &error)) << error;
  }
  void TearDown() override {
    if (module.handle) {
      EXPECT_EQ(module.canUnloadNow(), kXtraOk);
      UnloadXtraModule(&module);
    }
    EXPECT_TRUE(host.HeldServices().empty());
    EXPECT_EQ(host.classObjects, 0);
    EXPECT_EQ(host.LiveBlocks(), 0u);
    EXPECT_EQ(host.badFrees, 0u);
  }
  XtraObjectHeader* NewObject(const XtraGuid& classId) {
    XtraObjectHeader* object = nullptr;
    EXPECT_EQ(CreateClassObject(host, module, classId, &object), kXtraOk);
    return object;
  }

  XtraHost host;
  XtraModule module;
};

void ExpectEntry(const ClassInfoEntry& entry, const XtraGuid& classId, uint32_t classVersion,
                 const XtraGuid& interfaceId, uint32_t interfaceVersion) {
  EXPECT_EQ(FormatGuid(entry.classId), FormatGuid(classId));
  EXPECT_EQ(entry.classVersion, classVersion);
  EXPECT_EQ(FormatGuid(entry.interfaceId), FormatGuid(interfaceId));
  EXPECT_EQ(entry.interfaceVersion, interfaceVersion);
}

TEST_F(XtraModuleTest, ClassFormFindsFirstClassForNullAndLeavesOutputsForUnknown) {
  Load("NetWireXtra.x32");
  uint32_t size = 0;
  XtraCreateProc create = nullptr;
  XtraDestroyProc destroy = nullptr;
  ASSERT_EQ(module.getClassForm(nullptr, &size, &create, &destroy), kXtraOk);
  EXPECT_EQ(size, 24u);
  EXPECT_NE(create, nullptr);
  EXPECT_NE(destroy, nullptr);

  auto* const sentinelCreate = reinterpret_cast<XtraCreateProc>(0x1111);
  auto* const sentinelDestroy = reinterpret_cast<XtraDestroyProc>(0x2222);
  size = 777;
  create = sentinelCreate;
  destroy = sentinelDestroy;
  EXPECT_EQ(module.getClassForm(&kUnknownClass, &size, &create, &destroy), kXtraErrNoClass);
  EXPECT_EQ(size, 777u);
  EXPECT_EQ(create, sentinelCreate);
  EXPECT_EQ(destroy, sentinelDestroy);
  EXPECT_EQ(module.getClassObject(nullptr, nullptr, nullptr), kXtraErrNoClass);

  UnloadXtraModule(&module);
  Load("nelXtra.x32");
  ASSERT_EQ(module.getClassForm(nullptr, &size, &create, &destroy), kXtraOk);
  EXPECT_EQ(size, 36u);
  EXPECT_EQ(module.getClassForm(&kNetScriptClass, &size, &create, &destroy), kXtraErrNoClass);
}

TEST_F(XtraModuleTest, ClassInformationListsClassesThenTheirInterfaces) {
  Load("nelXtra.x32");
  ClassInfoEntry* array = nullptr;
  ASSERT_EQ(module.getClassInfo(host.Allocator(), &array), kXtraOk);
  ASSERT_NE(array, nullptr);
  ExpectEntry(array[0], kNelClass, 0x020100C0, kIID_BaseInterface, 1);
  ExpectEntry(array[1], kNelClass, 0x020100C0, kIID_IMoaRegister, 0x020100C0);
  ExpectEntry(array[2], kNelClass, 0x020100C0, kIID_IMoaMmXScript, 0x020100C0);
  static const XtraGuid kZero = {};
  EXPECT_TRUE(SameGuid(array[3].classId, kZero));
  EXPECT_TRUE(SameGuid(array[3].interfaceId, kZero));
  host.Free(array);

  UnloadXtraModule(&module);
  Load("NetWireXtra.x32");
  std::vector<ClassInfoEntry> entries;
  ASSERT_EQ(ReadClassInfo(host, module, &entries), kXtraOk);
  ASSERT_EQ(entries.size(), 4u);
  ExpectEntry(entries[0], kNetRegisterClass, 0x01000040, kIID_BaseInterface, 1);
  ExpectEntry(entries[1], kNetRegisterClass, 0x01000040, kIID_IMoaRegister, 0x01000040);
  ExpectEntry(entries[2], kNetScriptClass, 0x01000040, kIID_BaseInterface, 1);
  ExpectEntry(entries[3], kNetScriptClass, 0x01000040, kIID_IMoaMmXScript, 0x01000040);

  // No memory for the array: the out pointer says so too.
  host.failAllocations = 1;
  array = reinterpret_cast<ClassInfoEntry*>(0x1234);
  EXPECT_EQ(module.getClassInfo(host.Allocator(), &array), kXtraErrNoMemory);
  EXPECT_EQ(array, nullptr);
}

TEST_F(XtraModuleTest, InterfacesAreFoundOnlyInTheirOwnClass) {
  Load("NetWireXtra.x32");
  XtraObjectHeader* object = NewObject(kNetRegisterClass);
  ASSERT_NE(object, nullptr);
  void* iface = nullptr;
  EXPECT_EQ(module.getInterface(object, &kNetRegisterClass, &kIID_IMoaMmXScript, &iface), kXtraErrNoInterface);
  EXPECT_EQ(module.getInterface(object, &kUnknownClass, &kIID_IMoaRegister, &iface), kXtraErrNoInterface);
  EXPECT_EQ(iface, nullptr);
  ASSERT_EQ(module.getInterface(object, &kNetRegisterClass, &kIID_IMoaRegister, &iface), kXtraOk);
  XtraRelease(static_cast<IMoaRegister*>(iface));
  XtraRelease(object);
}

// Both counting kinds (interlocked in nelXtra, plain in NetWireXtra) keep the owner balanced.
void CheckReferenceCounting(XtraHost& host, XtraModule& module, const XtraGuid& classId) {
  XtraObjectHeader* object = nullptr;
  ASSERT_EQ(CreateClassObject(host, module, classId, &object), kXtraOk);
  const uint32_t ownerRefs = object->hostRefCount;
  const size_t blocks = host.LiveBlocks();
  EXPECT_EQ(module.canUnloadNow(), kXtraOk);

  IMoaMmXScript* script = nullptr;
  ASSERT_EQ(module.getInterface(object, &classId, &kIID_IMoaMmXScript, reinterpret_cast<void**>(&script)), kXtraOk);
  EXPECT_EQ(object->hostRefCount, ownerRefs + 2);
  EXPECT_EQ(host.LiveBlocks(), blocks + 1);
  EXPECT_EQ(module.canUnloadNow(), kXtraErrObjectsAlive);

  EXPECT_EQ(XtraAddRef(script), 2u);
  EXPECT_EQ(XtraAddRef(script), 3u);
  EXPECT_EQ(object->hostRefCount, ownerRefs + 4);
  EXPECT_EQ(XtraRelease(script), 2u);
  EXPECT_EQ(XtraRelease(script), 1u);
  EXPECT_EQ(host.LiveBlocks(), blocks + 1);
  EXPECT_EQ(module.canUnloadNow(), kXtraErrObjectsAlive);
  EXPECT_EQ(XtraRelease(script), 0u);
  EXPECT_EQ(host.LiveBlocks(), blocks);
  EXPECT_EQ(object->hostRefCount, ownerRefs);
  EXPECT_EQ(module.canUnloadNow(), kXtraOk);
  XtraRelease(object);
}

TEST_F(XtraModuleTest, ReferenceCountingFreesOnLastReleaseAndBalancesTheOwner) {
  Load("nelXtra.x32");
  CheckReferenceCounting(host, module, kNelClass);
  UnloadXtraModule(&module);
  Load("NetWireXtra.x32");
  CheckReferenceCounting(host, module, kNetScriptClass);
}

TEST_F(XtraModuleTest, InterfaceQueryGoesToTheOwner) {
  Load("nelXtra.x32");
  XtraObjectHeader* object = NewObject(kNelClass);
  ASSERT_NE(object, nullptr);
  IMoaRegister* registrar = nullptr;
  ASSERT_EQ(module.getInterface(object, &kNelClass, &kIID_IMoaRegister, reinterpret_cast<void**>(&registrar)), kXtraOk);
  IMoaMmXScript* script = nullptr;
  ASSERT_EQ(XtraQueryInterface(registrar, kIID_IMoaMmXScript, reinterpret_cast<void**>(&script)), kXtraOk);
  ASSERT_NE(script, nullptr);
  void* base = nullptr;
  ASSERT_EQ(XtraQueryInterface(script, kIID_BaseInterface, &base), kXtraOk);
  EXPECT_EQ(base, static_cast<void*>(object));
  XtraRelease(object);  // the reference the query handed out
  XtraRelease(script);
  XtraRelease(registrar);
  XtraRelease(object);
}

TEST_F(XtraModuleTest, NoMemoryForAnInterfaceObject) {
  Load("NetWireXtra.x32");
  XtraObjectHeader* object = NewObject(kNetScriptClass);
  ASSERT_NE(object, nullptr);
  const uint32_t ownerRefs = object->hostRefCount;
  host.failAllocations = 1;
  void* iface = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(module.getInterface(object, &kNetScriptClass, &kIID_IMoaMmXScript, &iface), kXtraErrNoMemory);
  EXPECT_EQ(iface, nullptr);
  EXPECT_EQ(object->hostRefCount, ownerRefs);
  EXPECT_EQ(module.canUnloadNow(), kXtraOk);
  XtraRelease(object);
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST_F(XtraModuleTest, NelRegistersItsMethodTableOnly) {
  Load("nelXtra.x32");
  ASSERT_EQ(RegisterXtra(host, module, kNelClass), kXtraOk);
  ASSERT_EQ(host.Entries().size(), 1u);
  const XtraHost::RegistryEntry& entry = host.Entries()[0];
  EXPECT_EQ(FormatGuid(entry.classId), FormatGuid(kNelClass));
  EXPECT_EQ(FormatGuid(entry.interfaceId), FormatGuid(kIID_IMoaMmXScript));
  EXPECT_TRUE(entry.dictionaryMatched);
  EXPECT_EQ(entry.values.count("safeForShockwave"), 0u);
  ASSERT_EQ(entry.values.count("msgTable"), 1u);
  const XtraHost::StoredValue& stored = entry.values.at("msgTable");
  EXPECT_EQ(stored.type, 9u);

  const std::string head = "xtra nelOSUtil\n";
  const std::string methods = Lines({
      "------------ System ------------",
      "+ GetProcessName object xtraRef -- return return a exe Path and commandline arguments ",
      "+ GetUserName object xtraRef -- return a string",
      "+ GetUserLongName object xtraRef -- return a string",
      "+ GetComputerName object xtraRef -- return a string",
      "+ GetOSName object xtraRef -- return a string",
      "+ GetOSVersion object xtraRef -- return a string",
      "+ GetMacAddress object xtraRef -- return a string",
      "+ GetSystemID object xtraRef -- return a string",
      "",
      "------------ System Path ------------",
      "+ GetDesktopFolder object xtraRef -- return a string",
      "+ GetDocumentsFolder object xtraRef -- return a string",
      "+ GetProgramFolder object xtraRef -- return a string",
      "+ GetTempFolder object xtraRef -- return a string",
      "+ GetSpecialFolder object xtraRef, integer type -- return a string",
      "----- type is ",
      "--    CSIDL_XXXX with SHGetSpecialFolderPath for Win",
      "--    kXXXXFolderType with FSFindFolder for OSX",
      "",
      "------------ File Dialog  ------------",
      "+ GetOpenFileName object xtraRef, string defaultPath, string lpstrFilter -- return string.",
      "+ GetSaveFileName object xtraRef, string defaultPath, string lpstrFilter -- return string.",
      "----- about lpstrFilter ",
      "--    on Windows, e.g. \"All |*.*|Text File|*.txt|\" ",
      "--    on OSX, e.g. \"jpg,png,gif\" ",
      "",
      "------------ Dialogs ------------",
      "+ ChooseColor object xtraRef, * rgbColor  ",
      "",
      "------------ INI Functions ------------",
      "+ ReadINI object xtraRef, string Section, string Keyname, string IniFile, integer isUTF8 -- return a string ",
      "+ WriteINI object xtraRef, string Section, string Keyname, string Value, string IniFile, integer isUTF8 ",
      "+ DeleteINI object xtraRef, string Section, string Keyname, string IniFile, integer isUTF8 ",
      "",
      "------------ for Mac OSX ------------",
      "+ HFStoPOSIX object xtraRef, string HFSStylePath -- return a POSXStylePath",
      "+ POSIXtoHFS object xtraRef, string POSXStylePath -- return a HFSStylePath",
      "",
      "------------ IM ------------",
      "+ SetIMEOpenState  object xtraRef, integer bool -- ",
      "+ GetIMEOpenState  object xtraRef -- return bool ",
      "+ SetIMEConversion object xtraRef, integer type -- ",
      "+ GetIMEConversion object xtraRef -- return integer ",
  }) + "\n";
  const std::string& text = stored.bytes;
  ASSERT_GT(text.size(), head.size() + methods.size());
  EXPECT_EQ(text.compare(0, head.size(), head), 0);
  EXPECT_EQ(text.substr(text.size() - methods.size()), methods);
  EXPECT_LE(text.size() + 1, 2526u);
  // Between the two only the comment lines of the head.
  const std::string comments = text.substr(head.size(), text.size() - head.size() - methods.size());
  size_t start = 0;
  while (start < comments.size()) {
    const size_t end = comments.find('\n', start);
    ASSERT_NE(end, std::string::npos);
    EXPECT_EQ(comments.compare(start, 2, "--"), 0) << comments.substr(start, end - start);
    start = end + 1;
  }
  MethodTable table = ParseMethodTable(text);
  EXPECT_EQ(table.xtraName, "nelOSUtil");
  ASSERT_EQ(table.methods.size(), 25u);
  EXPECT_EQ(FindSelector(table, "GetProcessName"), 0);
  EXPECT_EQ(FindSelector(table, "GetIMEConversion"), 24);
}

TEST_F(XtraModuleTest, NetWireRegistersTableAndShockwaveSafety) {
  Load("NetWireXtra.x32");
  ASSERT_EQ(RegisterXtra(host, module, kNetRegisterClass), kXtraOk);
  ASSERT_EQ(host.Entries().size(), 1u);
  const XtraHost::RegistryEntry& entry = host.Entries()[0];
  EXPECT_EQ(FormatGuid(entry.classId), FormatGuid(kNetScriptClass));
  EXPECT_EQ(FormatGuid(entry.interfaceId), FormatGuid(kIID_IMoaMmXScript));
  ASSERT_EQ(entry.values.count("msgTable"), 1u);
  EXPECT_EQ(entry.values.at("msgTable").type, 9u);
  EXPECT_EQ(entry.values.at("msgTable").bytes,
            Lines({
                "xtra NetWireXtra",
                "new object me",
                "-- Functions",
                "* GetLocalIP object me -- Returns all the IP's of the local pc",
                "* SendUDPMessage object me, String ip, integer port, String message -- Sends a string over UDP",
                "* SendTCPMessage object me, String ip, integer port, String message -- Sends a string over TCP",
                "* WaitForUDP object me, integer port -- Will wait for a UDP connection",
                "* WaitForTCP object me, integer port -- Will wait for a TCP connection",
                "* HasNext object me -- Returns true if another message exists",
                "* GetNext object me -- Returns the next message",
                "* DestroyAllThreads object me -- Stops the server, and unloads all memory.",
            }));
  ASSERT_EQ(entry.values.count("safeForShockwave"), 1u);
  EXPECT_EQ(entry.values.at("safeForShockwave").type, 6u);
  EXPECT_EQ(entry.values.at("safeForShockwave").bytes, std::string(1, '\x01'));
  MethodTable table = ParseMethodTable(entry.values.at("msgTable").bytes);
  EXPECT_EQ(FindSelector(table, "new"), 0);
  EXPECT_EQ(FindSelector(table, "GetLocalIP"), 1);
  EXPECT_EQ(FindSelector(table, "DestroyAllThreads"), 8);
}

TEST_F(XtraModuleTest, RegistrationPassesTheHostsRefusalBack) {
  struct Xtra {
    const char* file;
    const XtraGuid* registerClass;
  };
  const Xtra xtras[] = {{"NetWireXtra.x32", &kNetRegisterClass}, {"nelXtra.x32", &kNelClass}};
  for (bool* fault : {&host.failRegistryEntry, &host.failPut}) {
    *fault = true;
    for (const Xtra& xtra : xtras) {
      Load(xtra.file);
      EXPECT_EQ(RegisterXtra(host, module, *xtra.registerClass), kHostErrRefused) << xtra.file;
      UnloadXtraModule(&module);
    }
    *fault = false;
  }
  // Only the refused puts had an entry to put into; none of them stored anything.
  ASSERT_EQ(host.Entries().size(), 2u);
  for (const XtraHost::RegistryEntry& entry : host.Entries()) EXPECT_TRUE(entry.values.empty());
}

TEST_F(XtraModuleTest, NelRegistrationWithoutMemoryForTheTable) {
  Load("nelXtra.x32");
  XtraObjectHeader* object = NewObject(kNelClass);
  ASSERT_NE(object, nullptr);
  IMoaRegister* registrar = nullptr;
  ASSERT_EQ(module.getInterface(object, &kNelClass, &kIID_IMoaRegister, reinterpret_cast<void**>(&registrar)), kXtraOk);
  host.failAllocations = 1;
  EXPECT_EQ(registrar->ops->Register(registrar, host.Cache(), host.XtraDictionary()), kXtraErrNoMemory);
  ASSERT_EQ(host.Entries().size(), 1u);
  EXPECT_TRUE(host.Entries()[0].values.empty());
  XtraRelease(registrar);
  XtraRelease(object);
}

// Every selector outside the table leaves the result as the host set it.
void CheckSelectorsOutOfRange(XtraHost& host, XtraModule& module, const XtraGuid& classId,
                              const std::vector<int32_t>& selectors) {
  XtraInstance instance;
  ASSERT_EQ(CreateInstance(host, module, classId, &instance), kXtraOk);
  for (int32_t selector : selectors) {
    HostValue result{{0xDEADBEEF, 0xFEEDFACE}};
    EXPECT_EQ(CallSelector(instance.script, selector, {HostValueStore::Integer(1)}, &result), kXtraOk);
    EXPECT_EQ(result.words[0], 0xDEADBEEFu) << selector;
    EXPECT_EQ(result.words[1], 0xFEEDFACEu) << selector;
  }
  ReleaseInstance(&instance);
}

TEST_F(XtraModuleTest, SelectorsOutOfRangeLeaveTheResultAlone) {
  Load("nelXtra.x32");
  CheckSelectorsOutOfRange(host, module, kNelClass, {25, 26, -1, INT32_MIN, INT32_MAX});
  UnloadXtraModule(&module);
  Load("NetWireXtra.x32");
  CheckSelectorsOutOfRange(host, module, kNetScriptClass, {0, 9, -1, INT32_MIN, INT32_MAX});
}

TEST_F(XtraModuleTest, NelInstanceHoldsItsServicesUntilDestroyed) {
  Load("nelXtra.x32");
  XtraObjectHeader* first = NewObject(kNelClass);
  XtraObjectHeader* second = NewObject(kNelClass);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(host.Refs(HostObjectId::Player), 2);
  EXPECT_EQ(host.Refs(HostObjectId::NelValue), 2);
  EXPECT_EQ(host.Refs(HostObjectId::Auxiliary), 2);
  EXPECT_EQ(host.Refs(HostObjectId::AppInfo), 0);
  // With the second instance alive each service's Release answers 1: destroy still succeeds.
  host.lastDestroyCode = 0xBAD;
  XtraRelease(first);
  EXPECT_EQ(host.lastDestroyCode, kXtraOk);
  EXPECT_EQ(host.Refs(HostObjectId::Player), 1);
  EXPECT_EQ(host.Refs(HostObjectId::NelValue), 1);
  EXPECT_EQ(host.Refs(HostObjectId::Auxiliary), 1);
  XtraRelease(second);
  EXPECT_EQ(host.lastDestroyCode, kXtraOk);
}

TEST_F(XtraModuleTest, NelCreationFailsWithTheHostsCodeAndHoldsNothing) {
  host.SetUnavailable("auxiliary");
  Load("nelXtra.x32");
  XtraObjectHeader* object = nullptr;
  EXPECT_EQ(CreateClassObject(host, module, kNelClass, &object), kHostErrNoInterface);
  EXPECT_EQ(object, nullptr);
  // Held services are checked in TearDown.
}

TEST_F(XtraModuleTest, NelCreationWithoutApplicationInformation) {
  host.SetUnavailable("appinfo");
  Load("nelXtra.x32");
  XtraObjectHeader* object = NewObject(kNelClass);
  ASSERT_NE(object, nullptr);
  XtraRelease(object);
}

void* StageWindowThroughScript(IMoaMmXScript* script) {
  return reinterpret_cast<const NelScriptOps*>(script->ops)->GetStageWindow(script);
}

TEST_F(XtraModuleTest, NelFindsTheStageWindow) {
  host.stageWindow = reinterpret_cast<void*>(0x5A6E);
  Load("nelXtra.x32");
  XtraInstance instance;
  ASSERT_EQ(CreateInstance(host, module, kNelClass, &instance), kXtraOk);
  EXPECT_EQ(StageWindowThroughScript(instance.script), host.stageWindow);
  EXPECT_EQ(host.Refs(HostObjectId::Movie), 0);
  EXPECT_EQ(host.Refs(HostObjectId::Stage), 0);
  // The query fails but fills the description anyway: the handle must not be taken.
  host.failNativeWindow = true;
  EXPECT_EQ(StageWindowThroughScript(instance.script), nullptr);
  EXPECT_EQ(host.Refs(HostObjectId::Stage), 0);
  host.failNativeWindow = false;
  host.SetUnavailable("stage");
  EXPECT_EQ(StageWindowThroughScript(instance.script), nullptr);
  EXPECT_EQ(host.Refs(HostObjectId::Movie), 0);
  host.SetUnavailable("movie");
  EXPECT_EQ(StageWindowThroughScript(instance.script), nullptr);
  EXPECT_EQ(host.Refs(HostObjectId::Movie), 0);
  ReleaseInstance(&instance);
}

}  // namespace

namespace {

std::string VersionString(const std::vector<char>& data, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "";
  return value;
}

TEST(NelVersionResource, CarriesTheProductsVersions) {
  const std::string path = DistFile("nelXtra.x32");
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> data(size);
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00040001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00040001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(VersionString(data, "FileDescription"), "nelDiXtras");
  EXPECT_EQ(VersionString(data, "ProductName"), "nelDiXtras");
  EXPECT_EQ(VersionString(data, "InternalName"), "nelXtra");
  EXPECT_EQ(VersionString(data, "OriginalFilename"), "nelXtra.x32");
  EXPECT_EQ(VersionString(data, "FileVersion"), "1.0.0");
  EXPECT_EQ(VersionString(data, "ProductVersion"), "1.0.0");
}

}  // namespace
