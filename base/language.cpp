#include "base/language.h"

namespace {

int g_languageIndex = 0;

constexpr int kSecondLanguageResourceOffset = 1000;

}  // namespace

int GetLanguage() {
  return g_languageIndex;
}

void SetLanguage(int index) {
  g_languageIndex = index;
}

const char* LocaliseFor(const TwoTextMessage& message, int languageIndex) {
  return languageIndex == 0 ? message.chinese : message.second;
}

const char* Localise(const TwoTextMessage& message) {
  return LocaliseFor(message, g_languageIndex);
}

int ResourceOffset(int base) {
  return g_languageIndex == 0 ? base : base + kSecondLanguageResourceOffset;
}
