#pragma once

#include <string>

// The program's version resource: a table of texts that the build writes into the executable,
// in an ELF section of its own, as "StringFileInfo\040904E4\<key>" and value pairs, each text
// ended by a NUL. ARDVANE_VERSION_ENTRY builds one pair for the stamp (see
// app/version_resource.cpp).
#define ARDVANE_VERSION_SECTION ".ardvane_version"
#define ARDVANE_VERSION_ENTRY(key, value) "StringFileInfo\\040904E4\\" key "\0" value "\0"

namespace ardvane {

// Reads the version resource of a program file.
class tFileVersionInformation {
 public:
  tFileVersionInformation() = default;
  explicit tFileVersionInformation(const std::string& fileName) { SetFileName(fileName); }

  // Reads the version resource of the named file; a file that is missing, unreadable, not
  // an executable of this platform or without the section has a resource of size 0.
  void SetFileName(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }
  std::size_t ResourceSize() const { return resource_.size(); }

  // "<no file>" when no file name is set, "<no ver info>" when the file has no version
  // resource, otherwise the value stored under "StringFileInfo\040904E4\" + key, or the empty
  // text when the key is absent.
  std::string GetVersionValue(const std::string& key) const;

 private:
  std::string fileName_;
  std::string resource_;
};

}  // namespace ardvane
