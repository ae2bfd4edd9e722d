// The shared framework linked straight into the test with a class table of its
// own, so the test owns the process's allocation-failure handler.
#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <string>

#include "tools/xtrahost/xtra_session.h"
#include "xtra/framework/xtra_framework.h"

namespace {

constexpr XtraGuid kFirstClass = {0x0F1A57C1, 0x0001, 0x0002, {1, 1, 1, 1, 1, 1, 1, 1}};
constexpr XtraGuid kSecondClass = {0x0F1A57C2, 0x0001, 0x0002, {2, 2, 2, 2, 2, 2, 2, 2}};

int creates = 0;
int destroys = 0;
XtraCode XTRA_CALL CountCreate(XtraObjectHeader*) { return ++creates, kXtraOk; }
XtraCode XTRA_CALL CountDestroy(XtraObjectHeader*) { return ++destroys, kXtraOk; }

std::string longBody;
uint32_t tableBlockBytes = 64;

XtraCode XTRA_CALL TestRegister(IMoaRegister* self, RegistrationCache* cache, void* dictionary) {
  return RegisterComposedTable(InterfaceOwner(self), cache, dictionary, kFirstClass, "testXtra", longBody.c_str(),
                               tableBlockBytes);
}

void WriteSelector(IMoaMmXScript*, XtraCallRecord* call) { call->result = HostValueStore::Integer(call->selector); }
constexpr XtraMethodHandler kHandlers[] = {&WriteSelector, nullptr, &WriteSelector};
constexpr XtraMethodTable kMethods = {2, 3, kHandlers};

XtraCode XTRA_CALL TestCall(IMoaMmXScript* self, XtraCallRecord* call) { return DispatchCall(kMethods, self, call); }

constexpr IMoaRegisterOps kPlainRegister = {kPlainCountedBase, &TestRegister};
constexpr IMoaMmXScriptOps kInterlockedScript = {kInterlockedCountedBase, &TestCall};
XtraCode MakeRegister(XtraObjectHeader* owner, void** out) { return CreateInterfaceObject(owner, &kPlainRegister, out); }
XtraCode MakeScript(XtraObjectHeader* owner, void** out) { return CreateInterfaceObject(owner, &kInterlockedScript, out); }

constexpr XtraInterfaceEntry kFirstInterfaces[] = {{&kIID_IMoaRegister, 3, &MakeRegister},
                                                   {&kIID_IMoaMmXScript, 4, &MakeScript}};
constexpr XtraInterfaceEntry kSecondInterfaces[] = {{&kIID_IMoaMmXScript, 5, &MakeScript}};
constexpr XtraClassEntry kClasses[] = {
    {&kFirstClass, 1, sizeof(XtraObjectHeader) + 8, &CountCreate, &CountDestroy, kFirstInterfaces, 2},
    {&kSecondClass, 2, sizeof(XtraObjectHeader), &CountCreate, &CountDestroy, kSecondInterfaces, 1},
};
constexpr XtraClassTable kTable = {kClasses, 2};

// ---- the allocation-failure handler's state

int handlerCalls = 0;
int handlerGivesUpAfter = 0;

void HandlerThatFreesMemory() { ++handlerCalls; }
void HandlerThatGivesUp() {
  if (++handlerCalls >= handlerGivesUpAfter) std::set_new_handler(nullptr);
}
void HandlerThatThrows() {
  ++handlerCalls;
  throw std::bad_alloc();
}

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module.getClassObject = &DllGetClassObject;
    module.canUnloadNow = &DllCanUnloadNow;
    module.getClassForm = &DllGetClassForm;
    module.getInterface = &DllGetInterface;
    module.getClassInfo = &DllGetClassInfo;
    handlerCalls = 0;
    ASSERT_EQ(CreateClassObject(host, module, kFirstClass, &owner), kXtraOk);
  }
  void TearDown() override {
    std::set_new_handler(nullptr);
    XtraRelease(owner);
    EXPECT_EQ(liveObjectCount, 0u);
    EXPECT_EQ(host.LiveBlocks(), 0u);
    EXPECT_EQ(host.badFrees, 0u);
  }
  XtraCode NewScript(void** out) { return DllGetInterface(owner, &kFirstClass, &kIID_IMoaMmXScript, out); }

  XtraHost host;
  XtraModule module;
  XtraObjectHeader* owner = nullptr;
};

}  // namespace

const XtraClassTable& XtraModuleClasses() { return kTable; }

namespace {

TEST_F(FrameworkTest, AllocationRetriesWhileAHandlerIsInstalled) {
  std::set_new_handler(&HandlerThatFreesMemory);
  host.failAllocations = 2;
  void* script = nullptr;
  ASSERT_EQ(NewScript(&script), kXtraOk);
  EXPECT_EQ(handlerCalls, 2);
  EXPECT_EQ(liveObjectCount, 1u);
  XtraRelease(static_cast<IMoaMmXScript*>(script));
}

TEST_F(FrameworkTest, AllocationGivesUpWhenTheHandlerUninstallsItself) {
  handlerGivesUpAfter = 3;
  std::set_new_handler(&HandlerThatGivesUp);
  host.failAllocations = -1;
  const uint32_t ownerRefs = owner->hostRefCount;
  void* script = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(NewScript(&script), kXtraErrNoMemory);
  EXPECT_EQ(script, nullptr);
  EXPECT_EQ(handlerCalls, 3);
  EXPECT_EQ(liveObjectCount, 0u);
  EXPECT_EQ(owner->hostRefCount, ownerRefs);
  host.failAllocations = 0;
}

TEST_F(FrameworkTest, AllocationWithoutHandlerFailsAtOnce) {
  host.failAllocations = 1;
  void* script = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(NewScript(&script), kXtraErrNoMemory);
  EXPECT_EQ(script, nullptr);
  EXPECT_EQ(host.failAllocations, 0);  // exactly one attempt
}

TEST_F(FrameworkTest, AHandlerThatThrowsEndsTheRetriesWithoutUnwindingIntoTheHost) {
  std::set_new_handler(&HandlerThatThrows);
  host.failAllocations = -1;
  void* script = reinterpret_cast<void*>(0x1234);
  EXPECT_EQ(NewScript(&script), kXtraErrNoMemory);
  EXPECT_EQ(script, nullptr);
  EXPECT_EQ(handlerCalls, 1);
  host.failAllocations = 0;
}

TEST_F(FrameworkTest, PlainAndInterlockedCountingBothBalanceTheOwner) {
  for (const XtraGuid* interfaceId : {&kIID_IMoaRegister, &kIID_IMoaMmXScript}) {
    const uint32_t ownerRefs = owner->hostRefCount;
    void* object = nullptr;
    ASSERT_EQ(DllGetInterface(owner, &kFirstClass, interfaceId, &object), kXtraOk);
    EXPECT_EQ(DllCanUnloadNow(), kXtraErrObjectsAlive);
    EXPECT_EQ(XtraAddRef(static_cast<XtraUnknown*>(object)), 2u);
    EXPECT_EQ(XtraRelease(static_cast<XtraUnknown*>(object)), 1u);
    EXPECT_EQ(owner->hostRefCount, ownerRefs + 2);
    EXPECT_EQ(XtraRelease(static_cast<XtraUnknown*>(object)), 0u);
    EXPECT_EQ(owner->hostRefCount, ownerRefs);
    EXPECT_EQ(DllCanUnloadNow(), kXtraOk);
  }
}

TEST_F(FrameworkTest, TheLastInterfaceOutlivesTheHostsReferenceToItsOwner) {
  void* script = nullptr;
  ASSERT_EQ(NewScript(&script), kXtraOk);
  XtraRelease(owner);  // the host lets go first; the interface still holds the owner
  EXPECT_EQ(destroys, creates - 1);
  EXPECT_EQ(XtraRelease(static_cast<IMoaMmXScript*>(script)), 0u);
  EXPECT_EQ(destroys, creates);
  ASSERT_EQ(CreateClassObject(host, module, kFirstClass, &owner), kXtraOk);  // for TearDown
}

TEST_F(FrameworkTest, DispatchReachesOnlyTheTablesSelectors) {
  IMoaMmXScript* script = nullptr;
  ASSERT_EQ(NewScript(reinterpret_cast<void**>(&script)), kXtraOk);
  for (int32_t selector : {1, 2, 3, 4, 5, -1, INT_MIN, INT_MAX}) {
    HostValue result{{0xAAAA, 0xBBBB}};
    EXPECT_EQ(CallSelector(script, selector, {}, &result), kXtraOk);
    if (selector == 2 || selector == 4) {
      EXPECT_EQ(result.words[1], static_cast<uint32_t>(selector));
    } else {
      EXPECT_EQ(result.words[0], 0xAAAAu) << selector;
      EXPECT_EQ(result.words[1], 0xBBBBu) << selector;
    }
  }
  XtraRelease(script);
}

TEST_F(FrameworkTest, ComposedTableStaysInsideItsBlock) {
  longBody = std::string(100, 'x') + "\n";
  tableBlockBytes = 64;
  IMoaRegister* registrar = nullptr;
  ASSERT_EQ(DllGetInterface(owner, &kFirstClass, &kIID_IMoaRegister, reinterpret_cast<void**>(&registrar)), kXtraOk);
  const size_t blocks = host.LiveBlocks();
  ASSERT_EQ(registrar->ops->Register(registrar, host.Cache(), host.XtraDictionary()), kXtraOk);
  EXPECT_EQ(host.LiveBlocks(), blocks);  // the text's block went back
  const std::string& text = host.Entries().at(0).values.at("msgTable").bytes;
  EXPECT_EQ(text.size(), 63u);
  EXPECT_EQ(text.compare(0, 14, "xtra testXtra\n"), 0);
  XtraRelease(registrar);
}

XtraCode StopAtSecondInterface(void* context, const XtraClassEntry&, const XtraInterfaceEntry& iface) {
  ++*static_cast<int*>(context);
  return iface.version == 4 ? 77 : 0;
}

TEST(ClassTableWalk, AVisitorsNonzeroAnswerEndsTheWalk) {
  int visits = 0;
  EXPECT_EQ(WalkClassTable(kTable, nullptr, nullptr, &StopAtSecondInterface, &visits), 77u);
  EXPECT_EQ(visits, 2);
  visits = 0;
  EXPECT_EQ(WalkClassTable(kTable, &kSecondClass, nullptr, &StopAtSecondInterface, &visits), 0u);
  EXPECT_EQ(visits, 1);
  uint32_t size = 0;
  XtraCreateProc create = nullptr;
  XtraDestroyProc destroy = nullptr;
  EXPECT_EQ(DllGetClassForm(&kSecondClass, &size, &create, &destroy), kXtraOk);
  EXPECT_EQ(size, sizeof(XtraObjectHeader));
}

}  // namespace
