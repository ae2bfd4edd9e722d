// Linked into every shipped program and Xtra (see corvalis_deliverable); never into tests.
//
// The deliverables are built without exceptions, but the static C++ runtime still throws
// from a few places (allocation failure, the containers' length and range checks), and
// each of those drags in the unwinder, the exception runtime and the old string classes
// that its exception types carry: about 100 KB of a 250 KB installer. No code of ours
// catches anything, so every one of those throws ends the program anyway; here they end
// it directly. The same goes for the default terminate handler, whose demangler alone is
// some 46 KB and whose message has no console to go to.
#include <windows.h>

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <new>
#include <string>

// The runtime's own copy of the string members is built with exceptions, and its unwind
// tables keep every member of it alive; our copy has neither.
template class std::__cxx11::basic_string<char>;

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_exception() { abort(); }
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_bad_cast() { abort(); }
void __throw_bad_typeid() { abort(); }
void __throw_bad_function_call() { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_domain_error(const char*) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_runtime_error(const char*) { abort(); }
void __throw_range_error(const char*) { abort(); }
void __throw_overflow_error(const char*) { abort(); }
void __throw_underflow_error(const char*) { abort(); }

}  // namespace std

namespace {

// The standard allocation loop: ask the handler to free memory for as long as one is set.
void* Allocate(std::size_t bytes) {
  for (;;) {
    if (void* block = std::malloc(bytes ? bytes : 1)) return block;
    std::new_handler handler = std::get_new_handler();
    if (!handler) return nullptr;
    handler();
  }
}

void* AllocateOrEnd(std::size_t bytes) {
  void* block = Allocate(bytes);
  if (!block) std::abort();
  return block;
}

}  // namespace

void* operator new(std::size_t bytes) { return AllocateOrEnd(bytes); }
void* operator new[](std::size_t bytes) { return AllocateOrEnd(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return Allocate(bytes); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// Guards of function-local statics. The runtime's version can throw (recursive
// initialisation), which keeps its unwinder in. One recursive lock is held while any static
// is being initialised: nested initialisation on one thread works, other threads wait.
namespace {

CRITICAL_SECTION guardLock;
volatile LONG guardLockState = 0;  // 0 not made, 1 being made, 2 ready

void EnterGuardLock() {
  if (InterlockedCompareExchange(&guardLockState, 1, 0) == 0) {
    InitializeCriticalSection(&guardLock);
    InterlockedExchange(&guardLockState, 2);
  } else {
    while (guardLockState != 2) Sleep(0);
  }
  EnterCriticalSection(&guardLock);
}

bool Initialised(__cxxabiv1::__guard* guard) {
  return __atomic_load_n(reinterpret_cast<char*>(guard), __ATOMIC_ACQUIRE) != 0;
}

}  // namespace

namespace __cxxabiv1 {

extern "C" int __cxa_guard_acquire(__guard* guard) {
  if (Initialised(guard)) return 0;
  EnterGuardLock();
  if (!Initialised(guard)) return 1;  // the caller initialises, then releases
  LeaveCriticalSection(&guardLock);
  return 0;
}

extern "C" void __cxa_guard_release(__guard* guard) {
  __atomic_store_n(reinterpret_cast<char*>(guard), 1, __ATOMIC_RELEASE);
  LeaveCriticalSection(&guardLock);
}

extern "C" void __cxa_guard_abort(__guard*) { LeaveCriticalSection(&guardLock); }

}  // namespace __cxxabiv1
