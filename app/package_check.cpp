#include "app/package_check.h"

#include "app/package_read.h"
#include "platform/file.h"

namespace {

ReadFunction ReaderOf(platform::File& file) {
  return [&file](void* buffer, std::size_t size) { return file.Read(buffer, size); };
}

}  // namespace

bool ReadPackageTrailer(platform::File& file, std::uint64_t length, PackageTrailer* trailer) {
  std::uint8_t bytes[kTrailerSize];
  if (length == UINT64_MAX || length < kTrailerSize || !file.Seek(length - kTrailerSize) ||
      !ReadExactly(ReaderOf(file), bytes, kTrailerSize)) {
    return false;
  }
  *trailer = DecodeTrailer(bytes);
  return true;
}

bool DigestBeforeTrailer(platform::File& file, std::uint64_t length, Md5Digest* digest) {
  Md5 md5;
  const bool read = length >= kTrailerSize && file.Seek(0) &&
                    ReadInPieces(ReaderOf(file), length - kTrailerSize,
                                 [&md5](const std::uint8_t* piece, std::size_t size) {
                                   md5.Update(piece, size);
                                   return true;
                                 });
  *digest = md5.Finish();
  return read;
}

PackageCheck CheckOpenPackage(platform::File& file) {
  PackageCheck check;
  const std::uint64_t length = file.Length();
  PackageTrailer trailer;
  Md5Digest digest;
  if (!ReadPackageTrailer(file, length, &trailer) || !DigestBeforeTrailer(file, length, &digest)) {
    return check;
  }
  if (digest != trailer.digest) {
    check.status = PackageStatus::SignatureMismatch;
    check.signature = FormatSignature(trailer.digest);
    return check;
  }
  if (const std::optional<PayloadRange> payload = LocatePayload(length, trailer)) {
    check.status = PackageStatus::Intact;
    check.payload = *payload;
  }
  return check;
}

PackageCheck CheckPackageFile(const std::string& path) {
  platform::File file;
  if (!file.Open(path, platform::File::Mode::kReadShared)) {
    return PackageCheck();
  }
  return CheckOpenPackage(file);
}
