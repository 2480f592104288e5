// What became of one configuration's parameters in a run, as the run's report tells it.
#pragma once

#include <string>
#include <vector>

struct ConfigurationRecord {
  enum class Status { kNotAsked, kCarried, kNotCarried };
  std::string name;  // as the question listed it (system code page)
  Status status = Status::kNotAsked;
  std::string reason;  // with kNotCarried: why, in English
  std::vector<std::string>
      valuesLeftOut;             // field paths whose old value a parameter line cannot hold
  bool fromDamagedFile = false;  // read from the .bak, or from what the damaged file still held
};

// The record of the configuration `name` (letter case aside), added at the end when there is none.
ConfigurationRecord& FindOrAddRecord(std::vector<ConfigurationRecord>* records,
                                     const std::string& name);

// Marks it not carried, for `reason`.
void MarkNotCarried(ConfigurationRecord* record, const std::string& reason);

// Marks every record accepted but not carried yet: until the transfer, the parameters are only in
// the migration folder.
void MarkAwaitingTransfer(std::vector<ConfigurationRecord>* records);
