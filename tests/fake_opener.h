#pragma once

// Stand-ins for the desktop's opener (xdg-open): small shell scripts that exit as a test
// needs, and a wait on the event loop for an open's outcome.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/desktop_open.h"

namespace ardvane::testing {

// An opener script `name` in `folder` running the shell commands `body`, the document being
// "$1" (after the opener's own arguments, here none). It gives its verdict within `patience`.
inline DesktopOpener FakeOpener(const std::filesystem::path& folder, const std::string& name,
                                const std::string& body,
                                std::chrono::milliseconds patience = std::chrono::seconds(10)) {
  const std::filesystem::path script = folder / name;
  std::ofstream(script, std::ios::binary) << "#!/bin/sh\n" << body << "\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  DesktopOpener opener;
  opener.program = script.string();
  opener.patience = patience;
  return opener;
}

// Runs the event loop until `done` holds or `limit` has passed; whether it holds.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const QDeadlineTimer deadline(limit);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return done();
}

}  // namespace ardvane::testing
