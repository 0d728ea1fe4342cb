#pragma once

#include <type_traits>
#include <utility>

// A callable borrowed for the length of a call, without std::function's copy on the heap and
// the code that manages it: the callable must outlive the reference.
template <typename Signature>
class FunctionRef;

template <typename Result, typename... Arguments>
class FunctionRef<Result(Arguments...)> {
  public:
    template <typename Callable,
              typename = std::enable_if_t<!std::is_same_v<std::decay_t<Callable>, FunctionRef>>>
    FunctionRef(Callable&& callable)  // NOLINT(google-explicit-constructor): stands for a callable
        : object(const_cast<void*>(static_cast<const void*>(&callable))),
          call([](void* object, Arguments... arguments) -> Result {
              return (*static_cast<std::remove_reference_t<Callable>*>(object))(
                  std::forward<Arguments>(arguments)...);
          }) {}

    Result operator()(Arguments... arguments) const {
        return call(object, std::forward<Arguments>(arguments)...);
    }

  private:
    void* object;
    Result (*call)(void*, Arguments...);
};
