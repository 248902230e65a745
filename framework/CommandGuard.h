// The error boundary around every command, paint, key, mouse and timer handler:
// no exception crosses the event loop. A file error shows its cause's text, a
// failed allocation the memory text, both with the stop icon.
#pragma once

#include <exception>
#include <functional>

// Shows the message for the exception in `error` (a file error's own text, the
// memory text, or the command-failure text for anything else).
void ReportException(std::exception_ptr error);

// Runs `body`; an exception it raises is reported and swallowed. Returns false
// when that happened.
template <class Body> bool RunGuarded(Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        try {
            ReportException(std::current_exception());
        } catch (...) {
            // Nothing more can be done without crossing the event loop.
        }
        return false;
    }
}
