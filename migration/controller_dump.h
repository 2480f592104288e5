// One configuration's controller block, read from its binary parameter file and bound to the old
// installation's format description: the generation step's work for one configuration, for the
// installation being updated or for any other.
#pragma once

#include <string>
#include <vector>

#include "base/installation_layout.h"
#include "base/message_sink.h"
#include "format/field_descriptor.h"
#include "migration/parameter_lines.h"

class CControllerDump {
 public:
  explicit CControllerDump(IMessageSink& sink);
  CControllerDump(const CControllerDump&) = delete;
  CControllerDump& operator=(const CControllerDump&) = delete;

  // Reads the block as ExtractParameters does, a damaged file restored from its backup first;
  // `damaged` and `unreadable` as there.
  bool Read(const std::string& parameterFile, bool* damaged, bool* unreadable);
  // Reads the block and writes nothing: a damaged file is read from its good backup instead,
  // where the update would first restore it from there.
  bool ReadWithoutRestoring(const std::string& parameterFile);
  // The file the block was read from.
  const std::string& Source() const { return source_; }

  // Binds the block to the format description of `old`.
  bool Bind(const InstallationLayout& old);
  // Binds, then writes the temporary parameter file `path`; false when either fails.
  bool WriteTemporaryFile(const InstallationLayout& old, const std::string& path);
  // What the transfer takes from the temporary parameter file of the current binding.
  ParameterList CarriedEntries() const;

  CFieldDescriptor& Descriptor() { return descriptor_; }
  const CFieldDescriptor& Descriptor() const { return descriptor_; }

 private:
  IMessageSink& sink_;
  std::string source_;
  std::vector<unsigned char> block_;
  CFieldDescriptor descriptor_;
};
