// A lazily started coroutine that can be awaited by another coroutine. The board's firmware is
// written as coroutines so that each command reads like the exchange it implements ("send 16
// bytes, wait for the acknowledgement, ..."), while the board itself stays single-threaded and
// runs in simulated time. Destroying a Task destroys its frame and, through the temporaries that
// live in that frame, every Task it is awaiting: that is how a command is abandoned.
#pragma once

#include <coroutine>
#include <exception>
#include <optional>
#include <utility>

namespace emu {

namespace detail {

struct PromiseBase {
    std::coroutine_handle<> continuation;
    std::exception_ptr error;

    std::suspend_always initial_suspend() noexcept { return {}; }

    struct FinalAwaiter {
        bool await_ready() noexcept { return false; }
        template <class P>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<P> done) noexcept {
            auto next = done.promise().continuation;
            return next ? next : std::noop_coroutine();
        }
        void await_resume() noexcept {}
    };
    FinalAwaiter final_suspend() noexcept { return {}; }
    void unhandled_exception() { error = std::current_exception(); }
};

template <class T> struct Promise : PromiseBase {
    std::optional<T> value;
    void return_value(T v) { value = std::move(v); }
    T take() {
        if (error) std::rethrow_exception(error);
        return std::move(*value);
    }
};

template <> struct Promise<void> : PromiseBase {
    void return_void() {}
    void take() {
        if (error) std::rethrow_exception(error);
    }
};

} // namespace detail

template <class T = void> class [[nodiscard]] Task {
  public:
    struct promise_type : detail::Promise<T> {
        Task get_return_object() { return Task(Handle::from_promise(*this)); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle h) : handle_(h) {}
    Task(Task&& other) noexcept : handle_(std::exchange(other.handle_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, {});
        }
        return *this;
    }
    Task(const Task&) = delete;
    Task& operator=(const Task&) = delete;
    ~Task() { reset(); }

    void reset() {
        if (handle_) handle_.destroy();
        handle_ = {};
    }
    bool valid() const { return bool(handle_); }
    bool done() const { return handle_ && handle_.done(); }
    // Starts (or continues) a top-level task; awaited tasks are started by co_await.
    void resume() { handle_.resume(); }
    std::exception_ptr error() const { return handle_ ? handle_.promise().error : nullptr; }

    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
        handle_.promise().continuation = awaiting;
        return handle_;
    }
    T await_resume() { return handle_.promise().take(); }

  private:
    Handle handle_;
};

} // namespace emu
