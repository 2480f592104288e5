// Every built-in text that the system shows to the user, in one place (UTF-8; the hosts convert
// for display). Texts are kept word for word, odd spelling included: operators and support staff
// recognise the messages by their wording.
//
// Two-text messages go through Localise(); inserts are printf-style unless noted. To add a
// message, declare it in the section of its subsystem here and define it in messages.cpp.
#pragma once

#include "base/language.h"

// --- Update sequence -----------------------------------------------------------------------------

// Asks before the old installation is deleted (OK/Cancel); %s = maker folder, long form.
extern const TwoTextMessage kUpdateWarning;
// The backup finds no generated-files directory; no insert.
extern const TwoTextMessage kGeneratedFilesMissing;
// The program's own file cannot be read; ends the run; no insert.
extern const TwoTextMessage kPackageUnreadable;
// The package digest does not match; the signature text is appended directly; ends the run.
extern const TwoTextMessage kSignatureMismatch;
// The temporary payload file cannot be written; ends the run; no insert.
extern const TwoTextMessage kTempFileFailed;
// The payload process cannot be started; ends the run; no insert.
extern const TwoTextMessage kProcessStartFailed;
// Offers to move the generated files onto another drive (Yes/No, No default); no insert.
extern const TwoTextMessage kSeparationQuestion;
// Offers to switch the computer off at the end (Yes/No); no insert.
extern const TwoTextMessage kPowerOffQuestion;
// The step state has a value no step knows; ends the run; no insert.
extern const TwoTextMessage kInvalidState;
// The backup that BACKUPPATH asks for was not made; ends the run before anything is deleted.
// %s = backup folder, %s = reason.
extern const TwoTextMessage kBackupFailed;
extern const TwoTextMessage kParametersNotSaved;
// A settings file that says where the installation and its parameters are exists but cannot be
// read; ends the run before anything is deleted. %s = the file.
// A folder the disk cannot look at before anything changed; ends the run; %s = the folder, %s =
// the system's reason.
extern const TwoTextMessage kFolderUnreadable;
extern const TwoTextMessage kSettingsUnreadable;
// The reason when the backup folder lies inside what the clearing deletes; no insert.
extern const TwoTextMessage kBackupInsideClearedFolders;
// A reason of kBackupFailed: the backup on the disk does not hold what was copied, or the
// installation holds more; %s = the first path that differs, relative to the backup folder.
extern const TwoTextMessage kBackupDoesNotMatch;
// The payload ended without installing the new version; ends the run. %s = the folder that keeps
// the parameters, %s = the backup folder (or kNoBackup).
extern const TwoTextMessage kNothingInstalled;
// Stands for the backup folder when no backup was made; no insert.
extern const TwoTextMessage kNoBackup;
// The clearing could not delete some files and went on without them (OK). %s = their paths,
// each after a line feed.
extern const TwoTextMessage kClearingLeftFiles;
// The disk could not say whether the new version was installed; ends the run. %s = the path,
// %s = the system's reason, %s = the folder that keeps the parameters, %s = the backup folder
// (or kNoBackup).
extern const TwoTextMessage kInstallationUnreadable;
// The new installation's language record could not be written; the update goes on (OK).
// %s = the file, %s = the system's reason.
extern const TwoTextMessage kLanguageRecordFailed;
// The package copy could not be written; the update goes on (OK). %s = the copy, %s = the
// system's reason.
extern const TwoTextMessage kPackageCopyFailed;

// --- Language files ------------------------------------------------------------------------------

// The Lang folder or the chosen language folder is missing; %s = that folder.
extern const TwoTextMessage kLanguagePathMissing;
// Lang\Lang.ini is missing; %s = its path.
extern const TwoTextMessage kLanguageFileMissing;
// Lang\Lang.ini names no language; %s = its path.
extern const TwoTextMessage kLanguageFileBroken;

// --- Setup log -----------------------------------------------------------------------------------

// The log file cannot be written; the entry is lost.
extern const char kOpenLogFileFailed[];

// --- Parameter file store ------------------------------------------------------------------------
// Inserts in message-insert notation: %1!s! is text, %2!d! a signed number.

// A damaged parameter file was replaced by its backup; no insert.
extern const TwoTextMessage kParameterBackupUsed;
// Restoring a parameter file from its backup failed; %1!s! = file name, %2!d! = error code.
extern const TwoTextMessage kParameterCopyFailed;

// --- Controller parameter sections ---------------------------------------------------------------

// The new format description does not parse; the amendment list is written unchecked.
extern const char kInnerErrorFormatFile[];
// The new format description has no controller block; the amendment list is written unchecked.
extern const char kInnerErrorNoController[];

// --- Parameter migration -------------------------------------------------------------------------

// An earlier update stopped before its parameters reached the new installation (Yes/No): carry
// the parameters it kept? %s = time of that run, %s = its configurations, one per line.
extern const TwoTextMessage kUnfinishedRunQuestion;
// Stands for that time when the run left no record of it.
extern const TwoTextMessage kEarlierRunStart;
// Heads the list of configurations whose parameters can be kept (one name per line follows).
extern const TwoTextMessage kKeepParametersListHeader;
// Follows that list: keep the parameters? (Yes/No).
extern const TwoTextMessage kKeepParametersQuestion;
// A configuration's temporary parameter file could not be written; no insert.
extern const TwoTextMessage kParameterDumpFailed;
// The new installation's version key differs from the old one; nothing is transferred.
extern const TwoTextMessage kVersionsIncompatible;
// Heads the transfer report (configurations follow, one per line).
extern const TwoTextMessage kTransferReportHeader;
// Ends the transfer report when at least one configuration was transferred.
extern const TwoTextMessage kTransferSucceeded;
// Transfer report line for a configuration whose amendment file could not be written; the
// migration folder is kept. %s = configuration, %s = migration folder.
extern const TwoTextMessage kTransferWriteFailed;
// Transfer report line for a field whose old value a parameter line cannot hold (it has ';', a
// CR or a LF); the field keeps the new version's value. %s = configuration, %s = field.
extern const TwoTextMessage kTransferValueNotCarried;
// Transfer report line for a configuration whose parameters were read from a damaged parameter
// file. %s = configuration.
extern const TwoTextMessage kTransferFromDamagedFile;

// --- Generated-files directory -------------------------------------------------------------------

// The configured generated-files directory is wrong; %s = that directory.
extern const TwoTextMessage kWrongGeneratedDirectory;
// No other fixed drive to move the generated files to; no insert.
extern const TwoTextMessage kNoOtherDrive;
// The separation could not be finished; what was not copied stays where it was. %s = the path,
// %s = the system's reason.
extern const TwoTextMessage kSeparationFailed;

// --- Format description and parameter dump -------------------------------------------------------

// Display name of an array element without its own name format; %d = element index.
extern const TwoTextMessage kArrayGroupName;
// Two parameter numbers repeat or fall (OK/Cancel); %s, %s = the labels of the two parameters.
extern const TwoTextMessage kSerialNumberOrder;

// --- Drivers -------------------------------------------------------------------------------------

// A driver file could not be copied into place; %s = its file name. Shown in every language.
extern const char kDriverInstallFailed[];
// The installation's driver or setup information files could not be listed; they are not
// installed. %s = the files looked for, %s = the system's reason.
extern const TwoTextMessage kDriverFilesUnreadable;

// --- End of a run (console summary) and interruptions ----------------------------------------

// The summary the console edition prints at the end. %d = exit code, %s = report file.
extern const TwoTextMessage kSummaryExitCode;
// %s = backup folder, or kNoBackup.
extern const TwoTextMessage kSummaryBackup;
// %s = the folder that keeps parameters not carried.
extern const TwoTextMessage kSummaryMigrationFolder;
// %s = configuration, %s = the reason (English).
extern const TwoTextMessage kSummaryNotCarried;
// %s = driver or setup information file.
extern const TwoTextMessage kSummaryDriverFailed;
// %s = where the package copy was to go.
extern const TwoTextMessage kSummaryPackageCopyFailed;
// No insert.
extern const TwoTextMessage kSummaryLanguageNotRecorded;
// %s = a file or folder the clearing left.
extern const TwoTextMessage kSummaryNotDeleted;
// A stop signal before anything changed: the run ends like Cancel; no insert.
extern const TwoTextMessage kStopCancelled;
// A stop signal in steps that must not be left half done; no insert.
extern const TwoTextMessage kStopAtSafePoint;
// The run stopped at a safe point after a stop signal; no insert.
extern const TwoTextMessage kStoppedRunAgain;

// --- Dialogs -------------------------------------------------------------------------------------

// Caption of the language choice dialog (not localised).
extern const char kLanguageDialogCaption[];
// The question before the update starts (string resource 102 / 1102; Yes/No).
extern const TwoTextMessage kStartConfirmation;
// Caption of the progress dialog.
extern const TwoTextMessage kProgressCaption;

// The text of step label `chineseLabelId` (140 to 151); nullptr for any other identifier.
const TwoTextMessage* StepLabelText(int chineseLabelId);
