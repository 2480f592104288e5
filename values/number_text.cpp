#include "values/number_text.h"

namespace {

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

std::string NormaliseNumberText(std::string text) {
  size_t begin = 0;
  while (begin < text.size() && IsWhiteSpace(text[begin])) ++begin;
  size_t end = text.size();
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  text = text.substr(begin, end - begin);
  if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) {
    text.erase(0, 1);
  }
  if (text.find('.') == std::string::npos) return text;
  while (!text.empty() && text.back() == '0') text.pop_back();
  while (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}
