#include "migration/parameter_store.h"

#include <cstdint>

#include "base/message_styles.h"
#include "base/messages.h"
#include "base/multibyte_case.h"
#include "base/path_compose.h"
#include "base/setup_run.h"
#include "migration/parameter_file.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/text_encoding.h"

namespace {

bool ReadSection(const std::string& path, const std::string& sectionName,
                 std::vector<unsigned char>* data, bool* fileError, bool* readFailed) {
  NamedSectionRead read = ReadNamedSection(path, sectionName);
  if (read.status != NamedSectionRead::Status::kRead) {
    // A file that simply lacks the section is not damaged.
    *fileError =
        read.status != NamedSectionRead::Status::kNotFound || read.chain != ChainStatus::kComplete;
    *readFailed = read.status == NamedSectionRead::Status::kCannotOpen ||
                  read.status == NamedSectionRead::Status::kCannotRead ||
                  read.chain == ChainStatus::kUnreadable;
    return false;
  }
  data->swap(read.data);
  return true;
}

// The message-insert notation of the copy-failed text: %1!s! the file, %2!d! the error code. One
// pass, so an insert that happens to contain the other's marker stays as it is.
std::string FormatCopyFailedMessage(const IMessageSink& sink, const std::string& path,
                                    std::uint32_t error) {
  const std::string text = sink.Localise(kParameterCopyFailed);
  const std::string fileMarker = "%1!s!";
  const std::string codeMarker = "%2!d!";
  std::string message;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, fileMarker.size(), fileMarker) == 0) {
      message += platform::SystemTextToUtf8(path);
      i += fileMarker.size();
    } else if (text.compare(i, codeMarker.size(), codeMarker) == 0) {
      message += std::to_string(static_cast<std::int32_t>(error));
      i += codeMarker.size();
    } else {
      message += text[i++];
    }
  }
  return message;
}

}  // namespace

bool VerifyOrRestoreParameterFile(IMessageSink& sink, const std::string& path) {
  if (IsParameterFileGood(path)) {
    return true;
  }
  const std::optional<std::string> backup = ComposePath(sink, {path, ".bak"});
  if (!backup || !IsParameterFileGood(*backup)) {
    return false;
  }
  if (platform::CopyOneFile(*backup, path, false)) {
    sink.ShowMessage(sink.Localise(kParameterBackupUsed), kMbOk | kMbIconExclamation);
    return true;
  }
  const std::uint32_t error = platform::LastErrorCode();
  sink.ShowMessage(FormatCopyFailedMessage(sink, path, error), kMbOk | kMbIconExclamation);
  return false;
}

bool ExtractParameters(IMessageSink& sink, const std::string& path, const std::string& sectionName,
                       std::vector<unsigned char>* data, bool* damaged, bool* unreadable) {
  data->clear();
  SetupRun& run = sink.Run();
  std::lock_guard<std::recursive_mutex> guard(run.parameterStoreLock);
  const std::string key = ToUpperMultiByte(path);
  // A damaged file of any configuration would otherwise carry corrupted values across.
  if (run.verifiedParameterFiles.insert(key).second && !VerifyOrRestoreParameterFile(sink, path)) {
    run.damagedParameterFiles.insert(key);
  }
  if (damaged != nullptr) {
    *damaged = run.damagedParameterFiles.count(key) != 0;
  }
  bool fileError = false;
  bool readFailed = false;
  if (ReadSection(path, sectionName, data, &fileError, &readFailed)) {
    return true;
  }
  if (unreadable != nullptr) {
    *unreadable = readFailed;
  }
  if (fileError) {
    sink.WriteLogFormatted("|S|ExtractParameters failed, object is '%s'\n", sectionName.c_str());
  }
  return false;
}
