#include "migration/controller_dump.h"

#include <sstream>

#include "migration/amendment_file.h"
#include "migration/parameter_file.h"
#include "migration/parameter_store.h"

namespace {

constexpr const char kControllerBlock[] = "CController";

}  // namespace

CControllerDump::CControllerDump(IMessageSink& sink) : sink_(sink), descriptor_(sink) {}

bool CControllerDump::Read(const std::string& parameterFile, bool* damaged, bool* unreadable) {
  source_ = parameterFile;
  return ExtractParameters(sink_, source_, kControllerBlock, &block_, damaged, unreadable);
}

bool CControllerDump::ReadWithoutRestoring(const std::string& parameterFile) {
  source_ = parameterFile;
  const std::string backup = parameterFile + ".bak";
  if (!IsParameterFileGood(parameterFile) && IsParameterFileGood(backup)) source_ = backup;
  return ExtractParameters(sink_, source_, kControllerBlock, &block_);
}

bool CControllerDump::Bind(const InstallationLayout& old) {
  return descriptor_.Bind(kControllerBlock, block_.data(), block_.size(), old.formatFile);
}

bool CControllerDump::WriteTemporaryFile(const InstallationLayout& old, const std::string& path) {
  return descriptor_.WriteTextDump(kControllerBlock, block_.data(), block_.size(), old.formatFile,
                                   path);
}

ParameterList CControllerDump::CarriedEntries() const {
  std::vector<std::string> lines;
  std::istringstream text(descriptor_.TextDump(kControllerBlock));
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return CarriedParameters(lines);
}
