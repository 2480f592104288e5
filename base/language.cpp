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

const char* Localise(const TwoTextMessage& message) {
  return g_languageIndex == 0 ? message.chinese : message.second;
}

int ResourceOffset(int base) {
  return g_languageIndex == 0 ? base : base + kSecondLanguageResourceOffset;
}
