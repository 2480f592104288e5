// Tidying of number texts before they are shown.
#pragma once

#include <string>

// Trims white space, drops the sign of a zero ("-0.000" gives "0.000") and, when the text has a
// decimal point, every trailing '0' and then every trailing '.': "2.500000" gives "2.5".
std::string NormaliseNumberText(std::string text);
