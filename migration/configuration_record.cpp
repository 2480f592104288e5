#include "migration/configuration_record.h"

#include "base/multibyte_case.h"

ConfigurationRecord& FindOrAddRecord(std::vector<ConfigurationRecord>* records,
                                     const std::string& name) {
  const std::string wanted = ToLowerMultiByte(name);
  for (ConfigurationRecord& record : *records) {
    if (ToLowerMultiByte(record.name) == wanted) {
      return record;
    }
  }
  records->push_back(
      ConfigurationRecord{name, ConfigurationRecord::Status::kNotAsked, "", {}, false});
  return records->back();
}

void MarkNotCarried(ConfigurationRecord* record, const std::string& reason) {
  record->status = ConfigurationRecord::Status::kNotCarried;
  record->reason = reason;
}

void MarkAwaitingTransfer(std::vector<ConfigurationRecord>* records) {
  for (ConfigurationRecord& record : *records) {
    MarkNotCarried(&record,
                   "the update ended before the transfer; the parameters wait in the migration "
                   "folder");
  }
}
