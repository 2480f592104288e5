#include "tests/support/mutex_holder.h"

#include <gtest/gtest.h>

#include "platform/named_mutex.h"

MutexHolder::MutexHolder(const std::string& name) {
  bool existed = false;
  const platform::MutexHandle handle = platform::CreateNamedMutex(name, &existed);
  if (!handle.IsValid() || existed) ADD_FAILURE() << "the holder got no mutex of its own";
  holder_ = handle.value;
}

MutexHolder::~MutexHolder() {
  Release();
}

void MutexHolder::Release() {
  platform::MutexHandle handle{holder_};
  platform::CloseNamedMutex(&handle);
  holder_ = 0;
}
