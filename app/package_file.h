// Which file is the installation package: the running program's own file, unless a host or a
// test names another one.
#pragma once

#include <string>

std::string GetPackageFile();
// The empty text goes back to the running program's file.
void SetPackageFile(const std::string& path);
