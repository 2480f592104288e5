// Installation packages made by tests: a program image, a payload and a correct trailer.
#pragma once

#include <string>

std::string MakePackage(const std::string& program, const std::string& payload);
