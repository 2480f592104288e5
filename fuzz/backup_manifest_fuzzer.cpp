// The backup manifest reader on arbitrary text: what it accepts stays inside the backup folder
// and its part, and reads back as it is written.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/backup_manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  BackupManifest manifest;
  std::string error;
  if (!ParseBackupManifest(text, &manifest, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  for (const BackupEntry& entry : manifest.entries) {
    std::string components = "\\" + entry.path + "\\";
    for (char& c : components) c = c == '/' ? '\\' : c;
    if (entry.part >= manifest.parts.size() || components.find("\\..\\") != std::string::npos ||
        entry.path.find(':') != std::string::npos ||
        entry.path.rfind(manifest.parts[entry.part].into, 0) != 0) {
      std::abort();
    }
  }
  BackupManifest again;
  if (!ParseBackupManifest(FormatBackupManifest(manifest), &again, &error) ||
      FormatBackupManifest(again) != FormatBackupManifest(manifest)) {
    std::abort();
  }
  return 0;
}
