#include "base/message_box.h"

#include <cstdio>
#include <utility>

namespace {

MessageBoxFunction& CurrentFunction() {
  static MessageBoxFunction function;
  return function;
}

// Without a host there is nobody to ask: report the text and take the default button.
int AnswerWithoutHost(const std::string& text, unsigned style) {
  std::fprintf(stderr, "%s\n", text.c_str());
  return DefaultButton(style);
}

}  // namespace

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
  return std::exchange(CurrentFunction(), std::move(function));
}

int ShowMessageBox(const std::string& text, unsigned style) {
  const MessageBoxFunction& function = CurrentFunction();
  return function ? function(text, style) : AnswerWithoutHost(text, style);
}
