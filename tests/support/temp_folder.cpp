#include "tests/support/temp_folder.h"

#include "tests/support/fresh_folder.h"
#include "tests/support/staged_files.h"

TempFolder::TempFolder() : path_(CreateFreshFolder(&keepAlive_)) {}

TempFolder::~TempFolder() {
  RemoveStagedTree(path_);
}

void TempFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
  WriteStagedFile(path_ + relative, bytes);
}

std::string TempFolder::ReadFile(const std::string& relative) const {
  return ReadStagedFile(path_ + relative);
}
