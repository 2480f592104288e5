// Keeps only the controller parameters that the new installation's format description still knows.
#pragma once

#include <memory>
#include <string>

#include "base/message_sink.h"
#include "migration/parameter_lines.h"

class CFormatParser;
class CParameterNameResolver;
class CTypeRecord;

// The new installation's format description, parsed on first use and kept for every
// configuration of the run.
class CControllerFormat {
 public:
  // An unusable file is shown through `sink`.
  CControllerFormat(IMessageSink& sink, std::string formatPath);
  ~CControllerFormat();
  CControllerFormat(const CControllerFormat&) = delete;
  CControllerFormat& operator=(const CControllerFormat&) = delete;

  // The resolver of the CController block; null, after telling the user, when the file does not
  // parse or has no such block.
  CParameterNameResolver* Resolver();

 private:
  IMessageSink& sink_;
  std::string path_;
  bool parsed_ = false;
  std::unique_ptr<CFormatParser> parser_;
  std::unique_ptr<CParameterNameResolver> resolver_;
};

// Removes every entry but the section header whose name does not resolve against the block
// format CController of the format description file; returns how many were removed. When the
// file does not parse or has no such block, the user is told and the list stays unchecked.
int ValidateAgainstFormat(CControllerFormat* format, ParameterList* controller);
int ValidateAgainstFormat(IMessageSink& sink, const std::string& formatPath,
                          ParameterList* controller);

// Resolves member paths such as Axis[1].MaxSpeed against one block format. Each type's fields are
// indexed by name on first use, so a long list resolves in linear time.
class CParameterNameResolver {
 public:
  explicit CParameterNameResolver(const CTypeRecord& block);
  ~CParameterNameResolver();
  CParameterNameResolver(const CParameterNameResolver&) = delete;
  CParameterNameResolver& operator=(const CParameterNameResolver&) = delete;

  bool Resolves(const std::string& name);

 private:
  struct Index;
  const CTypeRecord& block_;
  std::unique_ptr<Index> index_;
};
