#include "migration/amendment_file.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "base/atomic_file.h"
#include "base/path_compose.h"
#include "migration/parameter_validation.h"
#include "platform/file_system.h"

const char kControllerSectionHeader[] = "[CController]";

namespace {

const char kBeginMarker[] = "m__df_beginCController";
const char kEndMarker[] = "m__df_endCController";

bool IsControllerHeader(const ParameterEntry& entry) {
  return entry.name == kControllerSectionHeader;
}

}  // namespace

bool IsMarkerName(const std::string& name) {
  std::string field = name.substr(0, name.find('['));
  field = field.substr(0, field.find('.'));
  return field == kBeginMarker || field == kEndMarker;
}

void RemoveMarkerEntries(ParameterList* entries) {
  entries->erase(std::remove_if(entries->begin(), entries->end(),
                                [](const ParameterEntry& entry) {
                                  return !entry.value.empty() && IsMarkerName(entry.name);
                                }),
                 entries->end());
}

ParameterList CarriedParameters(const std::vector<std::string>& lines) {
  ParameterList entries;
  for (const std::string& line : lines) {
    if (std::optional<ParameterEntry> entry = ParseParameterLine(line)) {
      entries.push_back(std::move(*entry));
    }
  }
  RemoveMarkerEntries(&entries);
  return entries;
}

bool ReadAmendmentFile(const std::string& path, ParameterList* controller, ParameterList* others) {
  controller->clear();
  others->clear();
  std::vector<std::string> lines;
  if (!ReadTextFileLines(path, &lines)) {
    // A disk that cannot say is no missing file: writing it would lose its other sections.
    return platform::QueryPath(path) == platform::PathKind::kMissing;
  }
  // A byte-order mark would hide the first header.
  if (!lines.empty() && lines[0].compare(0, 3, "\xEF\xBB\xBF") == 0) {
    lines[0].erase(0, 3);
  }
  std::unordered_map<std::string, std::size_t> controllerPositions;
  bool insideController = false;
  for (const std::string& line : lines) {
    const std::string_view cleaned = CleanParameterLine(line);
    if (cleaned.empty()) {
      continue;
    }
    if (cleaned.front() == '[') {
      insideController = cleaned == kControllerSectionHeader;
    }
    if (insideController && controller->empty()) {
      controllerPositions.emplace(std::string(cleaned), 0);
      controller->push_back({std::string(cleaned), std::string()});
      continue;
    }
    std::optional<ParameterEntry> entry = ParseParameterLine(cleaned);
    if (!entry) {
      continue;
    }
    if (!insideController) {
      others->push_back(std::move(*entry));
      continue;
    }
    const auto known = controllerPositions.find(entry->name);
    if (known != controllerPositions.end()) {
      (*controller)[known->second].value = std::move(entry->value);
    } else {
      controllerPositions.emplace(entry->name, controller->size());
      controller->push_back(std::move(*entry));
    }
  }
  return true;
}

void MergeParameters(const ParameterList& carried, ParameterList* controller) {
  if (carried.empty()) {
    return;
  }
  // Each name's carried positions, first first; a position is used up when an entry takes it.
  std::unordered_map<std::string, std::vector<std::size_t>> carriedPositions;
  for (std::size_t i = carried.size(); i-- > 0;) {
    carriedPositions[carried[i].name].push_back(i);
  }
  const bool carriesParameters =
      std::any_of(carried.begin(), carried.end(),
                  [](const ParameterEntry& entry) { return !IsControllerHeader(entry); });
  // Without a section of their own the carried parameters would be lost.
  if (controller->empty() && carriesParameters) {
    controller->push_back({kControllerSectionHeader, std::string()});
  }
  std::vector<bool> taken(carried.size(), false);
  for (ParameterEntry& entry : *controller) {
    const auto positions = carriedPositions.find(entry.name);
    if (positions == carriedPositions.end() || positions->second.empty()) {
      continue;
    }
    const std::size_t position = positions->second.back();
    positions->second.pop_back();
    entry.value = carried[position].value;
    taken[position] = true;
  }
  ParameterList rest;
  for (std::size_t i = 0; i < carried.size(); ++i) {
    if (!taken[i]) {
      rest.push_back(carried[i]);
    }
  }
  if (rest.empty()) {
    return;
  }
  // Before the last entry, but never before the header of a section that holds nothing else:
  // lines above the header would fall outside the section.
  const std::size_t insertAt = controller->size() > 1 ? controller->size() - 1 : controller->size();
  controller->insert(controller->begin() + static_cast<std::ptrdiff_t>(insertAt), rest.begin(),
                     rest.end());
}

bool WriteAmendmentFile(IMessageSink& sink, const std::string& path,
                        const ParameterList& controller, const ParameterList& others) {
  const std::optional<std::string> temporaryPath = ComposePath(sink, {path, ".tmp"});
  if (!temporaryPath) {
    return false;
  }
  std::string text;
  const auto append = [&text](auto begin, auto end) {
    for (auto entry = begin; entry != end; ++entry) {
      text += FormatParameterLine(*entry);
      text += "\r\n";
    }
  };
  // Lines before the first header belong to no section: after the controller section they
  // would fall inside it.
  const auto firstHeader =
      std::find_if(others.begin(), others.end(),
                   [](const ParameterEntry& entry) { return entry.name.front() == '['; });
  append(others.begin(), firstHeader);
  append(controller.begin(), controller.end());
  append(firstHeader, others.end());
  return WriteFileAtomically(path, text, *temporaryPath);
}

namespace {

// The lines of `path`, none when it is not there; false when it is there (or the disk cannot say)
// but cannot be read.
bool ReadLinesIfPresent(const std::string& path, std::vector<std::string>* lines) {
  lines->clear();
  const platform::PathKind kind = platform::QueryPath(path);
  if (kind == platform::PathKind::kMissing) return true;
  return kind != platform::PathKind::kUnknown && ReadTextFileLines(path, lines);
}

}  // namespace

int TransferConfiguration(IMessageSink& sink, const std::string& temporaryPath,
                          const std::string& amendmentPath, const std::string& formatPath) {
  CControllerFormat format(sink, formatPath);
  return TransferConfiguration(sink, temporaryPath, amendmentPath, &format);
}

int TransferConfiguration(IMessageSink& sink, const std::string& temporaryPath,
                          const std::string& amendmentPath, CControllerFormat* format) {
  // A file that exists but cannot be read would pass for an empty one: the carried parameters, or
  // the new version's own entries, would be lost with the amendment file written "successfully".
  // The temporary file is read once, so that no second read can fail unseen.
  std::vector<std::string> carriedLines, amendmentLines;
  if (!ReadLinesIfPresent(temporaryPath, &carriedLines) ||
      !ReadLinesIfPresent(amendmentPath, &amendmentLines)) {
    return -1;
  }
  const ConfigurationTransfer transfer =
      PrepareConfigurationTransfer(CarriedParameters(carriedLines), amendmentPath, format);
  if (!transfer.amendmentReadable) {
    sink.WriteLogFormatted("|E|%s cannot be read, it is left as it is\n", amendmentPath.c_str());
    return -1;
  }
  return WriteAmendmentFile(sink, amendmentPath, transfer.controller, transfer.others) ? 0 : -1;
}

ConfigurationTransfer PrepareConfigurationTransfer(IMessageSink& sink, const ParameterList& carried,
                                                   const std::string& amendmentPath,
                                                   const std::string& formatPath) {
  CControllerFormat format(sink, formatPath);
  return PrepareConfigurationTransfer(carried, amendmentPath, &format);
}

ConfigurationTransfer PrepareConfigurationTransfer(const ParameterList& carried,
                                                   const std::string& amendmentPath,
                                                   CControllerFormat* format) {
  ConfigurationTransfer transfer;
  transfer.amendmentReadable =
      ReadAmendmentFile(amendmentPath, &transfer.controller, &transfer.others);
  transfer.previous = transfer.controller;
  MergeParameters(carried, &transfer.controller);
  ValidateAgainstFormat(format, &transfer.controller);
  return transfer;
}
