// The interface language: the two-text messages and the resource offset of a language index
// (0 Chinese, 1 English, 2 Russian; the run holds the index).
#pragma once

#include <string>

// A built-in message: the Chinese text and the text for every other language (UTF-8).
struct TwoTextMessage {
  const char* chinese;
  const char* second;
};

// The Chinese text for language index 0, the second text otherwise.
const char* LocaliseFor(const TwoTextMessage& message, int languageIndex);

// `base` for language index 0, `base` + 1000 otherwise.
int ResourceOffset(int base, int languageIndex);
