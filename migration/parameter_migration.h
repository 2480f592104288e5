// The two steps that carry every configuration's controller parameters across an update: the
// generation step while the old installation is in place, the transfer step once the new one is.
#pragma once

#include "base/message_sink.h"
#include "migration/migration_context.h"

// Saves the old version key, finds every configuration's "vexorand.dat", asks whether to keep
// their parameters and writes one temporary parameter file per configuration into the migration
// folder. True when the user accepted. Questions and problems go to `sink`.
bool GenerateParameterFiles(IMessageSink& sink, MigrationContext* context);

// When accepted and the versions match: merges every temporary parameter file into its
// configuration's amendment file in the new installation, reports the configurations, removes
// the migration folder and the new installation's binary parameter files. True when it ran.
bool TransferParameterFiles(IMessageSink& sink, MigrationContext* context);
