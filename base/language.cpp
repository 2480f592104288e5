#include "base/language.h"

namespace {

constexpr int kSecondLanguageResourceOffset = 1000;

}  // namespace

const char* LocaliseFor(const TwoTextMessage& message, int languageIndex) {
  return languageIndex == 0 ? message.chinese : message.second;
}

int ResourceOffset(int base, int languageIndex) {
  return languageIndex == 0 ? base : base + kSecondLanguageResourceOffset;
}
