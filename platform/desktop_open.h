#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QObject;

namespace ardvane {

// The outcome of the desktop's "Open" action: a program took the document, or none could.
enum class DesktopOpenResult { kOpened, kFailed };

// Receives the outcome of an open.
using DesktopOpenDone = std::function<void(DesktopOpenResult result)>;

// The program that opens documents for the desktop, and how long its verdict is awaited.
struct DesktopOpener {
  std::string program;                 // a path, or a name looked up on PATH; empty: none
  std::vector<std::string> arguments;  // put before the document
  // An opener still running after this long counts as having opened the document: some stay
  // until the document is closed again.
  std::chrono::milliseconds patience{5000};
};

// "xdg-open", or "gio open" where xdg-open is missing; no program when neither is installed.
DesktopOpener SystemDesktopOpener();

// Opens a document file with `opener` and returns at once, without waiting for it. `path` is
// always a local path: a relative one is made absolute (from the current folder), so the
// opener never takes a name such as "https:host" for an address, nor "-x" for an option. `done`
// receives the outcome from the event loop, never before this returns: success when the opener
// exits with status 0 or is still running after its patience; failure for any other exit status, a
// crash, an opener that cannot be started or none at all. `done` runs once, or never when `context`
// (if given) is destroyed first. An opener that outlasts its patience is left running.
void OpenWithDesktop(const std::string& path, const DesktopOpener& opener, QObject* context,
                     DesktopOpenDone done);

}  // namespace ardvane
