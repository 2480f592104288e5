// Checking an installation package against the digest in its trailer, read in pieces so that
// memory does not grow with the package.
#pragma once

#include <cstdint>
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

// The package at `path` (for the update, GetPackageFile of its run).
PackageCheck CheckPackageFile(const std::string& path);
// A package already open for reading; the read position is left anywhere. A file too short for
// a trailer, or whose payload offset does not lie before the trailer, is unreadable.
PackageCheck CheckOpenPackage(platform::File& file);

// The parts of the check: the trailer of a package of `length` bytes as stored, and the digest
// of the bytes before it. False when they cannot be read.
bool ReadPackageTrailer(platform::File& file, std::uint64_t length, PackageTrailer* trailer);
bool DigestBeforeTrailer(platform::File& file, std::uint64_t length, Md5Digest* digest);
