#include "tests/support/host_tree.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::map<std::string, std::string> TreeOf(const std::string& hostFolder) {
  std::map<std::string, std::string> tree;
  if (!fs::exists(hostFolder)) return tree;
  for (const auto& entry : fs::recursive_directory_iterator(hostFolder)) {
    std::string bytes = "(folder)";
    if (entry.is_regular_file()) {
      std::ifstream file(entry.path(), std::ios::binary);
      std::ostringstream read;
      read << file.rdbuf();
      bytes = read.str();
    }
    tree[fs::relative(entry.path(), hostFolder).string()] = bytes;
  }
  return tree;
}
