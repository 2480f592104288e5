#include "migration/temporary_parameter_files.h"

#include "base/multibyte_case.h"
#include "base/path_compose.h"
#include "platform/path_split.h"

const char kParameterFileName[] = "vexorand.dat";
const char kParameterBackupName[] = "vexorand.dat.bak";
const char kAmendmentName[] = "amend.dat";

namespace {

const char kTemporarySuffix[] = "_amend.dat";
const char kAmendmentTail[] = "\\amend.dat";

// Replaces every `from` by `to`; the number of replacements.
int ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
  int count = 0;
  for (std::size_t at = text->find(from); at != std::string::npos;
       at = text->find(from, at + to.size())) {
    text->replace(at, from.size(), to);
    ++count;
  }
  return count;
}

}  // namespace

std::string ConfigurationName(const std::string& filePath) {
  // A double-byte name whose trail byte is 0x5C stays whole.
  const std::size_t fileSlash = platform::FindLastSeparator(filePath);
  if (fileSlash == std::string::npos || fileSlash == 0) {
    return std::string();
  }
  const std::size_t folderSlash = platform::FindLastSeparator(filePath, fileSlash - 1);
  const std::size_t start = folderSlash == std::string::npos ? 0 : folderSlash + 1;
  return filePath.substr(start, fileSlash - start);
}

std::string TemporaryNameOfParameterFile(const std::string& parameterFile) {
  std::string name = ToLowerMultiByte(parameterFile);
  ReplaceAll(&name, std::string("\\") + kParameterFileName, kTemporarySuffix);
  return platform::FileNameOf(name);
}

std::string TemporaryNameOfConfiguration(const std::string& configuration) {
  return ToLowerMultiByte(configuration) + kTemporarySuffix;
}

bool TargetOfTemporaryName(const std::string& temporaryName, TemporaryFileTarget* target) {
  std::string relative = ToLowerMultiByte(temporaryName);
  if (ReplaceAll(&relative, kTemporarySuffix, kAmendmentTail) == 0) {
    return false;
  }
  target->amendmentPath = relative;
  ReplaceAll(&relative, kAmendmentTail, "");
  target->configuration = relative;
  return true;
}

std::optional<AmendmentTarget> AmendmentTargetOf(IMessageSink& sink,
                                                 const InstallationLayout& layout,
                                                 const std::string& temporaryName) {
  TemporaryFileTarget target;
  if (!TargetOfTemporaryName(temporaryName, &target)) {
    return std::nullopt;
  }
  const std::string configurationTree = layout.configurationTree + "\\";
  const std::optional<std::string> amendmentFile =
      ComposePath(sink, {configurationTree, target.amendmentPath});
  if (!amendmentFile) {
    return std::nullopt;
  }
  return AmendmentTarget{target.configuration, configurationTree + target.configuration,
                         *amendmentFile};
}
