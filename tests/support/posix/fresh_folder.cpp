#include "tests/support/fresh_folder.h"

#include <string>

#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"

std::string CreateFreshFolder(std::unique_ptr<StagedMachine>* ownMachine) {
  static unsigned counter = 0;
  if (StagedMachine::Active() == nullptr) *ownMachine = std::make_unique<StagedMachine>();
  const std::string path = "C:\\TempFolder" + std::to_string(++counter) + "\\";
  MakeStagedFolders(path);
  return path;
}
