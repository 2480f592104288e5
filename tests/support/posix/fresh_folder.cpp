#include "tests/support/fresh_folder.h"

#include <string>

#include "tests/support/staged_files.h"
#include "tests/support/staged_machine.h"

std::string CreateFreshFolder(std::shared_ptr<void>* keepAlive) {
  static unsigned counter = 0;
  if (StagedMachine::Active() == nullptr) *keepAlive = std::make_shared<StagedMachine>();
  const std::string path = "C:\\TempFolder" + std::to_string(++counter) + "\\";
  MakeStagedFolders(path);
  return path;
}
