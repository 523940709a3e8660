#pragma once
// Runs one event handler so that nothing it throws reaches Qt's event loop: the user is told the
// command stopped, and the program goes on. The documents change only when an operation
// completes, so a command stopped this way leaves them as they were or wholly changed.

#include <exception>
#include <string>

#include "layout/UserDialogs.h"

template <typename Handler> void RunGuarded(UserDialogs& dialogs, Handler&& handler) noexcept {
    std::string reason;
    try {
        handler();
        return;
    } catch (const std::exception& e) {
        reason = e.what();
    } catch (...) {
        reason = "an unknown fault";
    }
    try {
        dialogs.MsgBox("The command could not be completed: " + reason, MsgButtons::OK,
                       MsgIcon::Critical);
    } catch (...) {
        // Even the message could not be shown; the program still keeps running.
    }
}
