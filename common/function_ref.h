// A callable passed down a call and not kept: a pointer to the caller's object (or
// function) and one small thunk per callable type. std::function's copying, storage and
// exception paths cost each shipped program kilobytes.
#pragma once

#include <type_traits>
#include <utility>

namespace corvalis {

template <typename Signature>
class FunctionRef;

template <typename Result, typename... Args>
class FunctionRef<Result(Args...)> {
 public:
  using Function = Result (*)(Args...);

  // Refers to callable, which must outlive every call through this reference; a function
  // or a lambda without captures is kept as its function pointer.
  template <typename Callable, typename = std::enable_if_t<!std::is_same_v<std::decay_t<Callable>, FunctionRef>>>
  FunctionRef(Callable&& callable) {
    if constexpr (std::is_convertible_v<Callable, Function>) {
      target_.function = callable;
      call_ = &CallFunction;
    } else {
      target_.object = const_cast<void*>(static_cast<const void*>(&callable));
      call_ = &CallObject<std::remove_reference_t<Callable>>;
    }
  }

  Result operator()(Args... args) const { return call_(target_, std::forward<Args>(args)...); }

 private:
  union Target {
    void* object;
    Function function;
  };
  static Result CallFunction(Target target, Args... args) { return target.function(std::forward<Args>(args)...); }
  template <typename Callable>
  static Result CallObject(Target target, Args... args) {
    return (*static_cast<Callable*>(target.object))(std::forward<Args>(args)...);
  }

  Target target_;
  Result (*call_)(Target, Args...);
};

}  // namespace corvalis
