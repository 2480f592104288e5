// The interface language: the process-wide language index and the two-text messages.
#pragma once

#include <string>

// 0 Chinese, 1 English (never set), 2 Russian.
int GetLanguage();
void SetLanguage(int index);

// A built-in message: the Chinese text and the text for every other language (UTF-8).
struct TwoTextMessage {
  const char* chinese;
  const char* second;
};

// The Chinese text for language index 0, the second text otherwise.
const char* LocaliseFor(const TwoTextMessage& message, int languageIndex);
// The same for the process-wide language.
const char* Localise(const TwoTextMessage& message);

// `base` for language index 0, `base` + 1000 otherwise.
int ResourceOffset(int base);
