// A folder's whole content, to show that a command left it exactly as it was.
#pragma once

#include <map>
#include <string>

// Every folder and file below a host folder (by relative path), with the files' bytes.
std::map<std::string, std::string> TreeOf(const std::string& hostFolder);
