#include "ui/startup_arguments.h"

namespace ardvane {

StartupRequest ReadStartupArguments(const std::vector<std::string>& words,
                                    const std::string& lastFile, bool lastFileExists) {
  StartupRequest request;
  if (words.empty()) {
    if (lastFileExists && !lastFile.empty()) {
      request.fileToOpen = lastFile;
      request.openRequested = true;
    }
    return request;
  }
  request.openRequested = true;
  for (const std::string& word : words) {
    if (word.find("-<p>") != std::string::npos) {
      request.batch = true;
      request.batchReportName = word.size() > 4 ? word.substr(4) : std::string();
      continue;
    }
    if (!request.fileToOpen.empty()) request.fileToOpen += ' ';
    request.fileToOpen += word;
  }
  return request;
}

}  // namespace ardvane
