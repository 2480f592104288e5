// The subcommands of `vextool dat` and the file helpers they share.
#pragma once

#include <string>
#include <vector>

#include "tools/vextool/commands.h"

int RunDatList(const CommandArguments& arguments, VextoolSink& sink);
int RunDatVerify(const CommandArguments& arguments, VextoolSink& sink);
int RunDatExtract(const CommandArguments& arguments, VextoolSink& sink);
int RunDatBuild(const CommandArguments& arguments, VextoolSink& sink);
int RunDatDump(const CommandArguments& arguments, VextoolSink& sink);

// Whole-file reading and writing; on failure they say so on standard error and return false.
bool ReadWholeFile(const std::string& path, std::string* bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);
// The data of the first section of the file whose name matches `name`; on failure says why.
bool ReadSectionData(const std::string& path, const std::string& name,
                     std::vector<unsigned char>* data);
