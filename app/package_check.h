// Checking an installation package against the digest in its trailer, read in pieces so that
// memory does not grow with the package.
#pragma once

#include <string>

#include "app/package_trailer.h"

namespace platform {
class File;
}

enum class PackageStatus { Intact, PackageUnreadable, SignatureMismatch };

struct PackageCheck {
  PackageStatus status = PackageStatus::PackageUnreadable;
  std::string signature;  // with SignatureMismatch: FormatSignature of the stored digest
  PayloadRange payload;   // with Intact
};

// The package the update runs from (GetPackageFile).
PackageCheck CheckPackage();
PackageCheck CheckPackageFile(const std::string& path);
// A package already open for reading; the read position is left anywhere.
PackageCheck CheckOpenPackage(platform::File& file);
