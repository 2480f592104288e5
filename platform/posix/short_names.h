// 8.3 aliases derived the way NTFS derives them.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The alias of `name` among the other names of its folder (`names`, in name order): the name
// itself when it is a valid short name, else the first six valid characters upper-cased, "~N"
// and the extension.
std::string AliasAmong(const std::vector<std::string>& names, const std::string& name);

}  // namespace platform
