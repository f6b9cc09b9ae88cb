// Asks for the passphrase of a shared history folder in a small window of its own: once to open the
// folder, twice (typed alike) to set one; or for a recovery code. Every answer is checked before the window
// closes; what is wrong shows in it, and it stays open for another try.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace mainwindow {

struct PassphraseRequest {
    std::string text;   // what the window says above the box
    bool twice = false; // a new passphrase: typed again below, and the two must agree
    bool hidden = true; // shown as dots (a recovery code is read off a paper, and shown)
};
// "" takes the passphrase (the window closes and returns it); anything else is shown and the window stays.
using PassphraseCheck = std::function<std::string(const std::string& passphrase)>;

// The passphrase taken, or none when the user cancelled.
std::optional<std::string> AskPassphrase(HWND owner, const PassphraseRequest& request, const PassphraseCheck& check);

// Tests answer in its place.
using PassphraseFn = std::optional<std::string> (*)(HWND, const PassphraseRequest&, const PassphraseCheck&);
void SetPassphraseDialogForTesting(PassphraseFn fn);  // null restores the real window

}  // namespace mainwindow
