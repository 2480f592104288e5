#include "base/message_styles.h"

int DefaultButton(unsigned style) {
  switch (style & 0x0F) {
    case kMbOkCancel:
      return kIdOk;
    case kMbYesNo:
      return (style & kMbDefaultButton2) != 0 ? kIdNo : kIdYes;
    default:
      return kIdOk;
  }
}
