#include "migration/migration_context.h"

#include "platform/file_system.h"

void NoteUnreadable(MigrationContext* context, const std::string& path) {
  if (!context->unreadablePath.empty()) return;
  context->unreadablePath = path;
  context->unreadableError = platform::LastErrorCode();
}
