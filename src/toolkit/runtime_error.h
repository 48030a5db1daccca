#pragma once
// The language runtime's run-time error, and what becomes of one that
// leaves a handler of the program.
#include <functional>
#include <stdexcept>
#include <string>

namespace tarvolin {

// A run-time error of the original runtime (Overflow, Invalid procedure
// call). Thrown only by the functions documented as throwing; each of them has
// a checked variant that reports the failure without an exception.
class RuntimeError : public std::runtime_error {
public:
    RuntimeError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    int number() const { return number_; }

    static RuntimeError overflow() { return RuntimeError(6, "Overflow"); }
    static RuntimeError invalidCall() { return RuntimeError(5, "Invalid procedure call or argument"); }

private:
    int number_;
};

// A RuntimeError that leaves an event's handler or a posted call is caught
// where the toolkit dispatches it (Event::raise, the message loops): that
// handler ends there and the report installed on this thread is told, so the
// program logs it and goes on. Reports nest while they live; the newest is
// told. With none installed the error goes on up as before.
class RuntimeErrorReport {
public:
    using Report = std::function<void(const RuntimeError&)>;
    explicit RuntimeErrorReport(Report report);
    ~RuntimeErrorReport();
    RuntimeErrorReport(const RuntimeErrorReport&) = delete;
    RuntimeErrorReport& operator=(const RuntimeErrorReport&) = delete;

    // Called inside a catch block: tells the newest report, or rethrows
    // the error being handled when there is none.
    static void tell(const RuntimeError& error);
    // Runs fn; a RuntimeError that leaves it goes to tell().
    static void guard(const std::function<void()>& fn);

private:
    Report report_;
    RuntimeErrorReport* outer_;
};

}  // namespace tarvolin
