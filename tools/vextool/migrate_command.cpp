// vextool migrate: the parameter migration of an update, run offline from an old installation or
// a backup to a new installation, through the update's own generation and transfer code.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/installation_layout.h"
#include "base/json_writer.h"
#include "base/message_sink.h"
#include "base/multibyte_case.h"
#include "format/node_paths.h"
#include "format/value_node.h"
#include "migration/amendment_file.h"
#include "migration/controller_dump.h"
#include "migration/file_walks.h"
#include "migration/setup_config.h"
#include "migration/temporary_parameter_files.h"
#include "platform/file_system.h"
#include "platform/path_split.h"
#include "tools/vextool/command_line.h"
#include "tools/vextool/commands.h"
#include "tools/vextool/fmt_dump.h"
#include "tools/vextool/report_path.h"
#include "tools/vextool/standard_output.h"
#include "tools/vextool/vextool_sink.h"

namespace {

const CommandSyntax kSyntax = {
    {"vextool migrate", "the parameter migration of an update, offline: preview or recovery",
     "--from OLD --to NEW [--dry-run] [--json] [--config NAME]...",
     "Carries every configuration's controller parameters from OLD to NEW as an update does,\n"
     "with the update's own code: the controller block of OLD\\config\\<name>\\vexorand.dat is\n"
     "bound to OLD\\vexorand.fmt and dumped (the generation step), then merged into\n"
     "NEW\\config\\<name>\\amend.dat and checked against NEW\\vexorand.fmt (the transfer step).\n"
     "OLD is the old installation folder or a backup folder the update made of it; NEW is the\n"
     "new installation folder. A damaged vexorand.dat is read from its good .bak, as the update\n"
     "restores it; nothing in OLD is ever written. Configurations that NEW does not have are\n"
     "passed over.\n"
     "OLD and NEW may also name the maker folder holding setup.cfg (as a backup folder does):\n"
     "its PATH names the installation folder in it.\n"
     "The report counts, per configuration, the parameters of the old block (its guard fields\n"
     "are none) and names each in one group: carried (with the value the new amend.dat had\n"
     "where it had another), dropped because the new format does not know it, or not carried\n"
     "because amend.dat cannot hold its value (and why); then the new amend.dat's entries that\n"
     "the old block does not have, left at the new version's value. A configuration that is\n"
     "not written has none of these.\n"
     "Without --dry-run each amend.dat is replaced at once (written beside it, then renamed),\n"
     "as the update writes it. Binary parameter files are never deleted, and no message box is\n"
     "shown: what the update would show is printed as a note on standard error.",
     "--from OLD       the old installation or its backup\n"
     "--to NEW         the new installation\n"
     "--dry-run        write nothing; report what would be written\n"
     "--json           the report as one object (below)\n"
     "--config NAME    only this configuration (may be repeated; letter case does not matter)\n"
     "\n"
     "The JSON object: {\"from\", \"to\" (the folders), \"dry_run\" (true or false),\n"
     "where folders and files are absolute host paths in UTF-8,\n"
     "\"configurations\": [{\"name\", \"source\" (the file read), \"amendment\" (the file\n"
     "written), \"status\" (\"written\", \"would be written\", \"not written\" or \"skipped\"),\n"
     "\"reason\" (why not written or skipped, else null), \"parameters\" (of the old block,\n"
     "or null when not written or skipped), \"carried\": [{\"name\", \"value\",\n"
     "\"previous\" (the new amend.dat's other value, or null)}], \"dropped\": [{\"name\", "
     "\"value\"}],\n"
     "\"not_carried\": [{\"name\", \"value\", \"reason\"}], \"left\": [{\"name\", \"value\"}]}]}.",
     "0 every configuration was migrated (or would be); 1 one or more could not be read or\n"
     "written, OLD or NEW is no folder, OLD has no configuration (or none that --config\n"
     "names), or NEW holds no installation (no config folder or vexorand.fmt); 64 usage.",
     "$ vextool migrate --from 'D:\\Backup\\Pelmo 2026-12-07 224608' \\\n"
     "      --to 'C:\\Program Files\\Pelmo\\Control' --dry-run --config Mill_A\n"
     "configuration Mill_A: would be written\n"
     "  from D:\\Backup\\Pelmo 2026-12-07 224608\\config\\Mill_A\\vexorand.dat\n"
     "  to   C:\\Program Files\\Pelmo\\Control\\config\\mill_a\\amend.dat\n"
     "  parameters of the old block: 98\n"
     "  carried: 96\n"
     "    m_dwOptions = 0x00000013\n"
     "    ...\n"
     "  dropped, unknown to the new format: 2\n"
     "    m_dRapidOverride = 75\n"
     "    m_nBacklashComp = 4\n"
     "  not carried, the value cannot be written: 0\n"
     "  left at the new version's value: 2\n"
     "    m_dCornerTolerance = 0.05\n"
     "    m_dRapidOverridePct = 100"},
    {RequiredOption("--from"), RequiredOption("--to"), FlagOption("--dry-run"),
     FlagOption("--json"), RepeatedOption("--config")},
    {},
};

struct NamedValue {
  std::string name;
  std::string value;
  std::string note;  // the previous value, or why it was not carried
  bool hasNote = false;
};

struct ConfigurationReport {
  std::string name;
  std::string source;
  std::string amendment;
  std::string status;
  std::string reason;
  // Every parameter of the old block (its guard fields aside) is in exactly one of the first
  // three groups; the last holds the new amend.dat's entries that the old block does not have.
  std::optional<std::size_t> parameters;
  std::vector<NamedValue> carried, dropped, notCarried, left;
};

// The installation of `path`: the installation folder itself, or, given the maker folder (or its
// backup) that holds setup.cfg, the one its PATH names, read as the update reads it.
InstallationLayout LayoutOf(IMessageSink& sink, const std::string& given) {
  const std::string path = platform::WithTrailingSeparator(given);
  if (platform::IsDirectory(path + "config") || !platform::PathExists(path + "setup.cfg")) {
    return LayoutOfInstallationFolder(path);
  }
  const InstallationLayout layout = ReadLayoutOfMakerFolder(sink, path);
  // Unlike the update, a PATH without its backslash still names the folder.
  const std::string& pathValue = layout.pathValue;
  return pathValue.empty() || platform::EndsWithSeparator(pathValue)
             ? layout
             : LayoutOfInstallationFolder(layout.installationFolder + '\\');
}

// The part of an installation that the transfer needs and `layout` lacks, if any.
const std::string* MissingPartOf(const InstallationLayout& layout) {
  if (!platform::IsDirectory(layout.configurationTree)) return &layout.configurationTree;
  if (!platform::PathExists(layout.formatFile)) return &layout.formatFile;
  return nullptr;
}

// Keeps the parameter files of the configurations named (in any letter case); false, after
// naming it, when a name matches none, which would otherwise migrate less than was asked.
bool KeepWanted(const std::vector<std::string>& names, std::vector<std::string>* files) {
  std::set<std::string> wanted, found;
  for (const std::string& name : names) wanted.insert(ToLowerMultiByte(name));
  for (const std::string& file : *files) found.insert(ToLowerMultiByte(ConfigurationName(file)));
  for (const std::string& name : names) {
    if (found.count(ToLowerMultiByte(name)) == 0) {
      std::fprintf(stderr,
                   "vextool migrate: --config '%s': the old installation has no such "
                   "configuration\n",
                   name.c_str());
      return false;
    }
  }
  files->erase(std::remove_if(files->begin(), files->end(),
                              [&wanted](const std::string& file) {
                                return wanted.count(ToLowerMultiByte(ConfigurationName(file))) == 0;
                              }),
               files->end());
  return true;
}

bool IsHeader(const ParameterEntry& entry) {
  return entry.name == kControllerSectionHeader;
}

// Why a value of the dump did not arrive as it was dumped.
std::string LossReason(const std::string& value, bool present) {
  if (value.find(';') != std::string::npos) {
    return present ? "cut at ';', which starts a comment in amend.dat"
                   : "a ';' starts a comment in amend.dat";
  }
  return "the line grammar of amend.dat cannot carry it";
}

// Nobody is there to answer: what the update would show becomes a note on standard error,
// answered as it is by default. The order check's findings are cut short after the first.
int Note(const std::string& text, unsigned style) {
  std::string flat = text;
  std::replace(flat.begin(), flat.end(), '\n', ' ');
  std::fprintf(stderr, "vextool migrate: note: %s\n", flat.c_str());
  const unsigned buttons = style & 0x0F;
  return buttons == kMbYesNo ? kIdYes : buttons == kMbOkCancel ? kIdCancel : kIdOk;
}

// Nothing was carried, so nothing is reported as carried, dropped or left.
ConfigurationReport NotWritten(ConfigurationReport report, const char* reason) {
  report.status = "not written";
  report.reason = reason;
  report.parameters.reset();
  report.carried.clear();
  report.dropped.clear();
  report.notCarried.clear();
  report.left.clear();
  return report;
}

ConfigurationReport MigrateConfiguration(IMessageSink& sink, const InstallationLayout& from,
                                         const InstallationLayout& to,
                                         const std::string& parameterFile, bool dryRun) {
  ConfigurationReport report;
  report.name = ConfigurationName(parameterFile);
  report.source = parameterFile;
  const std::optional<AmendmentTarget> target =
      AmendmentTargetOf(sink, to, TemporaryNameOfParameterFile(parameterFile));
  if (!target) {
    return NotWritten(std::move(report), "the path of amend.dat is too long");
  }
  report.amendment = target->amendmentFile;
  if (!platform::IsDirectory(target->configurationFolder)) {
    report.status = "skipped";
    report.reason = "the new installation has no such configuration";
    return report;
  }

  // The old installation, often the update's backup itself, is never written.
  CControllerDump dump(sink);
  const bool read = dump.ReadWithoutRestoring(parameterFile);
  report.source = dump.Source();
  if (!read) {
    return NotWritten(std::move(report),
                      "no controller section can be read from the parameter file");
  }
  if (!dump.Bind(from)) {
    return NotWritten(std::move(report),
                      "the controller section does not bind to the old format description");
  }
  const ParameterList carried = dump.CarriedEntries();
  const ConfigurationTransfer transfer =
      PrepareConfigurationTransfer(sink, carried, report.amendment, to.formatFile);

  std::map<std::string, std::string> previous, final, dumped;
  for (const ParameterEntry& entry : transfer.previous) previous.emplace(entry.name, entry.value);
  for (const ParameterEntry& entry : transfer.controller) final.emplace(entry.name, entry.value);
  std::vector<const CValueNode*> parameters;  // of the old block; a guard field is none
  for (const auto& node : dump.Descriptor().Nodes()) {
    if (node->valueText.empty() || IsMarkerName(FieldPath(*node))) continue;
    parameters.push_back(node.get());
    dumped.emplace(FieldPath(*node), node->valueText);
  }
  // In the order amend.dat holds them, each parameter once, in one group.
  std::set<std::string> oldNames;
  for (const ParameterEntry& entry : carried) {
    if (IsHeader(entry) || !oldNames.insert(entry.name).second) continue;
    const auto node = dumped.find(entry.name);
    const std::string& value = node != dumped.end() ? node->second : entry.value;
    if (final.count(entry.name) == 0) {
      report.dropped.push_back({entry.name, value, "", false});
    } else if (entry.value != value) {
      report.notCarried.push_back({entry.name, value, LossReason(value, true), true});
    } else {
      const auto had = previous.find(entry.name);
      const bool changes = had != previous.end() && had->second != value;
      report.carried.push_back({entry.name, value, changes ? had->second : "", changes});
    }
  }
  for (const CValueNode* node : parameters) {
    if (oldNames.insert(FieldPath(*node)).second) {
      report.notCarried.push_back(
          {FieldPath(*node), node->valueText, LossReason(node->valueText, false), true});
    }
  }
  report.parameters = oldNames.size();
  for (const ParameterEntry& entry : transfer.previous) {
    if (!IsHeader(entry) && oldNames.count(entry.name) == 0 && final.count(entry.name) != 0) {
      report.left.push_back({entry.name, entry.value, "", false});
    }
  }

  if (!transfer.amendmentReadable) {
    // As the update: replacing it would lose the new version's other sections.
    return NotWritten(std::move(report), "amend.dat cannot be read");
  }
  if (dryRun) {
    report.status = "would be written";
  } else if (WriteAmendmentFile(sink, report.amendment, transfer.controller, transfer.others)) {
    report.status = "written";
  } else {
    return NotWritten(std::move(report), "amend.dat cannot be written");
  }
  return report;
}

void AppendValues(std::string* out, const char* heading, const std::vector<NamedValue>& values,
                  const char* noteWord) {
  *out += std::string("  ") + heading + ": " + std::to_string(values.size()) + "\n";
  for (const NamedValue& value : values) {
    *out += "    " + value.name + " = " + value.value;
    if (value.hasNote) *out += noteWord + value.note + (noteWord[0] == ' ' ? ")" : "");
    *out += "\n";
  }
}

std::string ReportText(const std::vector<ConfigurationReport>& reports) {
  std::string out;
  for (const ConfigurationReport& report : reports) {
    out += "configuration " + report.name + ": " + report.status;
    if (!report.reason.empty()) out += " (" + report.reason + ")";
    out += "\n  from " + report.source + "\n  to   " + report.amendment + "\n";
    if (!report.parameters) continue;
    out += "  parameters of the old block: " + std::to_string(*report.parameters) + "\n";
    AppendValues(&out, "carried", report.carried, " (the new amend.dat had ");
    AppendValues(&out, "dropped, unknown to the new format", report.dropped, "");
    AppendValues(&out, "not carried, the value cannot be written", report.notCarried, ": ");
    AppendValues(&out, "left at the new version's value", report.left, "");
  }
  return out;
}

void WriteValuesJson(JsonWriter& json, const char* key, const std::vector<NamedValue>& values,
                     const char* noteKey) {
  json.Key(key);
  json.Open('[');
  for (const NamedValue& value : values) {
    json.Element();
    json.Open('{');
    json.Key("name");
    json.String(value.name);
    json.Key("value");
    json.String(value.value);
    if (noteKey != nullptr) {
      json.Key(noteKey);
      if (value.hasNote) {
        json.String(value.note);
      } else {
        json.Null();
      }
    }
    json.Close('}');
  }
  json.Close(']');
}

std::string ReportJson(const std::string& from, const std::string& to, bool dryRun,
                       const std::vector<ConfigurationReport>& reports) {
  JsonWriter json;
  json.Open('{');
  json.Key("from");
  json.Utf8(ReportPath(from));
  json.Key("to");
  json.Utf8(ReportPath(to));
  json.Key("dry_run");
  json.Bool(dryRun);
  json.Key("configurations");
  json.Open('[');
  for (const ConfigurationReport& report : reports) {
    json.Element();
    json.Open('{');
    json.Key("name");
    json.String(report.name);
    json.Key("source");
    json.Utf8(ReportPath(report.source));
    json.Key("amendment");
    json.Utf8(ReportPath(report.amendment));
    json.Key("status");
    json.String(report.status);
    json.Key("reason");
    if (report.reason.empty()) {
      json.Null();
    } else {
      json.String(report.reason);
    }
    json.Key("parameters");
    if (report.parameters) {
      json.Number(static_cast<long long>(*report.parameters));
    } else {
      json.Null();
    }
    WriteValuesJson(json, "carried", report.carried, "previous");
    WriteValuesJson(json, "dropped", report.dropped, nullptr);
    WriteValuesJson(json, "not_carried", report.notCarried, "reason");
    WriteValuesJson(json, "left", report.left, nullptr);
    json.Close('}');
  }
  json.Close(']');
  json.Close('}');
  return json.out() + "\n";
}

}  // namespace

int RunMigrateCommand(const CommandArguments& arguments, VextoolSink& sink) {
  CommandLine line;
  if (const std::optional<int> status = ReadCommandLine(arguments, kSyntax, &line)) return *status;
  for (const char* option : {"--from", "--to"}) {
    if (!platform::IsDirectory(line.Value(option))) {
      std::fprintf(stderr, "vextool migrate: %s '%s': no such folder\n", option,
                   line.Value(option).c_str());
      return 1;
    }
  }
  const InstallationLayout from = LayoutOf(sink, line.Value("--from"));
  const InstallationLayout to = LayoutOf(sink, line.Value("--to"));
  if (const std::string* missing = MissingPartOf(to)) {
    // Every configuration would otherwise be passed over, as if there were nothing to carry.
    std::fprintf(stderr, "vextool migrate: --to '%s' holds no installation: no '%s'\n",
                 line.Value("--to").c_str(), missing->c_str());
    return 1;
  }
  const bool dryRun = line.Has("--dry-run");

  std::vector<std::string> files =
      FindFilesRecursively(sink, from.configurationTree, kParameterFileName);
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::fprintf(stderr, "vextool migrate: no configuration with a %s below '%sconfig'\n",
                 kParameterFileName, from.installationFolder.c_str());
    return 1;
  }
  if (!line.Values("--config").empty() && !KeepWanted(line.Values("--config"), &files)) {
    return 1;
  }

  CommandSink noted(sink, Note);
  // As the update, which takes the language folder from the old installation.
  UseLanguageFolderOf(from.installationFolder, noted);
  std::vector<ConfigurationReport> reports;
  bool allDone = true;
  for (const std::string& file : files) {
    reports.push_back(MigrateConfiguration(noted, from, to, file, dryRun));
    allDone = allDone && reports.back().status != "not written";
  }

  const std::string text =
      line.Has("--json") ? ReportJson(line.Value("--from"), line.Value("--to"), dryRun, reports)
                         : ReportText(reports);
  if (!WriteStandardOutput(text)) return 1;
  return allDone ? 0 : 1;
}
