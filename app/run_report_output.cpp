#include "app/run_report_output.h"

#include "base/atomic_file.h"
#include "base/json_writer.h"
#include "base/setup_run.h"
#include "base/text_format.h"
#include "platform/text_encoding.h"

namespace {

const char* StatusName(ConfigurationRecord::Status status) {
  switch (status) {
    case ConfigurationRecord::Status::kCarried:
      return "carried";
    case ConfigurationRecord::Status::kNotCarried:
      return "not_carried";
    case ConfigurationRecord::Status::kNotAsked:
      break;
  }
  return "not_asked";
}

// Host texts are in the system code page; the report holds UTF-8 only.
void HostText(JsonWriter& json, const std::string& text) {
  json.Utf8(platform::SystemTextToUtf8(text));
}

// A text, or null where there is none.
void Utf8OrNull(JsonWriter& json, const std::string& text) {
  if (text.empty()) {
    json.Null();
  } else {
    json.Utf8(text);
  }
}

void HostTextOrNull(JsonWriter& json, const std::string& text) {
  Utf8OrNull(json, platform::SystemTextToUtf8(text));
}

// An array of `items`, each written by `write`.
template <typename Item, typename Write>
void Array(JsonWriter& json, const std::vector<Item>& items, Write write) {
  json.Open('[');
  for (const Item& item : items) {
    json.Element();
    write(item);
  }
  json.Close(']');
}

void HostTexts(JsonWriter& json, const std::vector<std::string>& texts) {
  Array(json, texts, [&json](const std::string& text) { HostText(json, text); });
}

void Configuration(JsonWriter& json, const ConfigurationRecord& configuration) {
  json.Open('{');
  json.Key("name");
  HostText(json, configuration.name);
  json.Key("status");
  json.Utf8(StatusName(configuration.status));
  json.Key("reason");
  Utf8OrNull(json, configuration.reason);
  json.Key("values_left_out");
  HostTexts(json, configuration.valuesLeftOut);
  json.Key("from_damaged_file");
  json.Bool(configuration.fromDamagedFile);
  json.Close('}');
}

void Driver(JsonWriter& json, const DriverResult& driver) {
  json.Open('{');
  json.Key("file");
  HostText(json, driver.file);
  json.Key("installed");
  json.Bool(driver.installed);
  json.Close('}');
}

std::string OrNone(const std::string& text) {
  return text.empty() ? "(none)" : text;
}

}  // namespace

std::string RenderReportJson(const RunReport& report) {
  JsonWriter json;
  json.Open('{');
  json.Key("schema");
  json.Number(kReportSchema);
  json.Key("exit_code");
  json.Number(ExitCodeOf(report));
  json.Key("outcome");
  json.Utf8(OutcomeName(report));
  json.Key("failure");
  Utf8OrNull(json, report.failure);
  json.Key("version_from");
  HostTextOrNull(json, report.versionFrom);
  json.Key("version_to");
  HostTextOrNull(json, report.versionTo);
  json.Key("backup");
  HostTextOrNull(json, report.backupFolder);
  json.Key("migration_folder");
  HostTextOrNull(json, report.migrationFolder);
  json.Key("package_copy");
  if (report.packageCopy.empty()) {
    json.Null();
  } else {
    json.Open('{');
    json.Key("path");
    HostText(json, report.packageCopy);
    json.Key("written");
    json.Bool(report.packageCopyWritten);
    json.Close('}');
  }
  json.Key("language_recorded");
  json.Bool(report.languageRecorded);
  json.Key("configurations");
  Array(json, report.configurations,
        [&json](const ConfigurationRecord& configuration) { Configuration(json, configuration); });
  json.Key("drivers");
  Array(json, report.drivers, [&json](const DriverResult& driver) { Driver(json, driver); });
  json.Key("not_deleted");
  HostTexts(json, report.notDeleted);
  json.Key("not_done");
  Array(json, report.shortfalls, [&json](const std::string& shortfall) { json.Utf8(shortfall); });
  json.Key("started");
  json.Utf8(report.started);
  json.Key("seconds");
  json.Number(report.seconds);
  json.Close('}');
  return json.out() + "\n";
}

std::vector<std::string> RenderReportLogLines(const RunReport& report) {
  std::vector<std::string> lines;
  const auto add = [&lines](const std::string& line) { lines.push_back("Run: " + line + "\n"); };
  add(FormatText("ended %s, exit code %d", OutcomeName(report), ExitCodeOf(report)));
  add("version " + OrNone(report.versionFrom) + " to " + OrNone(report.versionTo));
  add("backup folder " + OrNone(report.backupFolder));
  add("migration folder " + OrNone(report.migrationFolder));
  if (!report.packageCopy.empty()) {
    add("package copy " + report.packageCopy +
        (report.packageCopyWritten ? " written" : " NOT written"));
  }
  if (!report.languageRecorded) {
    add("language record NOT written");
  }
  for (const ConfigurationRecord& configuration : report.configurations) {
    const std::string name = "configuration '" + configuration.name + "': ";
    add(name + StatusName(configuration.status) +
        (configuration.reason.empty() ? "" : ", " + configuration.reason));
    for (const std::string& field : configuration.valuesLeftOut) {
      add(name + "value of '" + field + "' left out");
    }
    if (configuration.fromDamagedFile) {
      add(name + "read from a damaged file");
    }
  }
  for (const DriverResult& driver : report.drivers) {
    add("driver " + driver.file + (driver.installed ? " installed" : " NOT installed"));
  }
  for (const std::string& path : report.notDeleted) {
    add("not deleted " + path);
  }
  for (const std::string& shortfall : report.shortfalls) {
    add("not done: " + shortfall);
  }
  add(FormatText("started %s, %lld s", report.started.c_str(), report.seconds));
  return lines;
}

std::string GetReportFilePath(const SetupRun& run) {
  return run.logDirectory + "VexorandSetupReport.json";
}

void WriteRunReport(IMessageSink& sink, const RunReport& report) {
  for (const std::string& line : RenderReportLogLines(report)) {
    sink.WriteLog(line);
  }
  const std::string path = GetReportFilePath(sink.Run());
  if (!WriteFileAtomically(path, RenderReportJson(report), path + ".tmp")) {
    sink.WriteLogFormatted("|E|The report of this run could not be written to %s\n", path.c_str());
  }
}

int WriteCancelledRunReport(IMessageSink& sink) {
  RunReport report = BeginRunReport();
  EndRunReport(&report, RunEnd::kCancelled);
  WriteRunReport(sink, report);
  return ExitCodeOf(report);
}
