#include "base/messages.h"

// --- Update sequence -----------------------------------------------------------------------------

const TwoTextMessage kUpdateWarning = {
    "警告！\n安装程序将删除(%s)中的所有文件。请先保存参数，以备新版本安装后恢复。\n\n"
    "按<确定>按钮，进行下一步骤。\n按<取消>按钮，退出安装程序。",
    "ВНИМАНИЕ:\n\nПрограмма установки будет удалить все файлы в (%s). Пожалуйста, сохраните "
    "параметры для восстановления после установки новой версии.\nНажмите кнопку <Окау>, чтобы "
    "перейти к следующему шагу \nНажмите кнопку <Отменять>, чтобы выходить из программы "
    "установки "};

const TwoTextMessage kGeneratedFilesMissing = {
    "生成文件路径不存在,备份失败！", "Generate files' directory is not exist，backup failed!"};

const TwoTextMessage kPackageUnreadable = {"读文件失败!", "Чтение файла не удалось!"};

const TwoTextMessage kSignatureMismatch = {
    "文件签字验证失败（可能该文件已经损坏或者受到病毒感染）!\n文件签字: ",
    "Проверка подписи файла не удается (файл может быть поврежден или заражен вирусом) "
    "!подписание документа: "};

const TwoTextMessage kTempFileFailed = {"ERR 202: Access the temp file failed!",
                                        "ERR 202: Access the temp file failed!"};

const TwoTextMessage kProcessStartFailed = {"ERR 203: Create a process failed!",
                                            "ERR 203: Create a process failed!"};

const TwoTextMessage kSeparationQuestion = {
    "生成文件和可执行文件需要分开放置吗？",
    "Создаваемые файлы и исполняемые файлы должны быть отделены?"};

const TwoTextMessage kPowerOffQuestion = {"立即关闭计算机吗？", "Немедленно выключите компьютер?"};

const TwoTextMessage kInvalidState = {"Invalid state!", "Invalid state!"};

const TwoTextMessage kBackupFailed = {
    "备份到%s失败：%s\n原安装目录没有被删除，安装程序退出。",
    "Не удалось создать резервную копию в %s: %s\nСтарая установка не удалена, программа "
    "установки завершает работу."};

const TwoTextMessage kParametersNotSaved = {
    "无法读取或保存以下配置的参数：%s\n原安装目录没有被删除，安装程序退出。",
    "Не удалось прочитать или сохранить параметры конфигураций: %s\nСтарая установка не "
    "удалена, программа установки завершает работу."};

const TwoTextMessage kFolderUnreadable = {
    "无法读取%s：%s\n原安装目录没有被删除，安装程序退出。",
    "Не удалось прочитать %s: %s\nСтарая установка не удалена, программа установки завершает "
    "работу."};

const TwoTextMessage kSettingsUnreadable = {
    "无法读取文件%s。\n原安装目录没有被删除，安装程序退出。",
    "Не удалось прочитать файл %s.\nСтарая установка не удалена, программа установки "
    "завершает работу."};

const TwoTextMessage kBackupInsideClearedFolders = {
    "备份目录位于将被删除的目录中。", "папка резервной копии находится внутри удаляемых папок."};

const TwoTextMessage kBackupDoesNotMatch = {"备份与原安装不一致：%s",
                                            "резервная копия не совпадает с установкой: %s"};

const TwoTextMessage kNothingInstalled = {
    "新版本没有安装成功。\n参数保存在%s\n备份在%s\n请重新运行安装程序。",
    "Новая версия не установлена.\nПараметры сохранены в %s\nРезервная копия: %s\n"
    "Пожалуйста, запустите программу установки снова."};

const TwoTextMessage kNoBackup = {"（无备份）", "(нет резервной копии)"};

const TwoTextMessage kClearingLeftFiles = {
    "以下文件无法删除，仍留在原处（安装日志列出全部）：%s\n\n安装程序将继续更新。",
    "Не удалось удалить эти файлы, они остались на месте (все они перечислены в журнале "
    "установки):%s\n\nПрограмма установки продолжает обновление."};

const TwoTextMessage kInstallationUnreadable = {
    "无法读取%s：%s\n参数保存在%s\n备份在%s\n请重新运行安装程序。",
    "Не удалось прочитать %s: %s\nПараметры сохранены в %s\nРезервная копия: %s\n"
    "Пожалуйста, запустите программу установки снова."};

const TwoTextMessage kLanguageRecordFailed = {
    "无法写入语言配置文件%s：%s\n\n安装程序将继续更新。",
    "Не удалось записать файл языковой настройки %s: %s\n\nПрограмма установки продолжает "
    "обновление."};

const TwoTextMessage kPackageCopyFailed = {
    "无法备份安装包到%s：%s\n\n安装程序将继续更新。",
    "Не удалось сохранить копию пакета установки в %s: %s\n\nПрограмма установки продолжает "
    "обновление."};

// --- Language files ------------------------------------------------------------------------------

const TwoTextMessage kLanguagePathMissing = {
    "The path(%s) to specify language information does not exist.",
    "The path(%s) to specify language information does not exist."};

const TwoTextMessage kLanguageFileMissing = {"用于存储语言配置信息的文件%s不存在。",
                                             "The language configuration file(%s) does not exist."};

const TwoTextMessage kLanguageFileBroken = {"用于存储语言配置信息的文件%s内容不正确。",
                                            "Language configuration File(%s) Error."};

// --- Setup log -----------------------------------------------------------------------------------

const char kOpenLogFileFailed[] = "Open log file failed!";

// --- Parameter file store ------------------------------------------------------------------------

const TwoTextMessage kParameterBackupUsed = {
    "参数配置文件已经损坏，系统已经使用备份文件替换该参数配置文件。",
    "The parameter configuration file has been damaged. System has used the backup file to "
    "substitute it."};

const TwoTextMessage kParameterCopyFailed = {
    "访问参数配置文件失败！文件名'%1!s!'，错误码(%2!d!)",
    "Access parameters configuration file failed! File Name'%1!s!', Error Code(%2!d!)."};

// --- Controller parameter sections ---------------------------------------------------------------

const char kInnerErrorFormatFile[] = "Inner error! Code: IE-ERRORFMTFILE.";
const char kInnerErrorNoController[] = "Inner error! Code: IE-NOCONTROLLER.";

// --- Parameter migration -------------------------------------------------------------------------

const TwoTextMessage kUnfinishedRunQuestion = {
    "%s开始的更新没有完成，以下配置的参数已被保存：\n%s要保留这些参数吗?\n",
    "Обновление, начатое %s, не было завершено. Сохранены параметры следующих конфигураций:\n"
    "%sХотите сохранить эти параметры?\n"};

const TwoTextMessage kEarlierRunStart = {"此前", "ранее"};

const TwoTextMessage kKeepParametersListHeader = {
    "在重新装载软件时候，以下配置的参数可能可以被保留：\n",
    "При повторной загрузке программного обеспечения, следующие параметры конфигурации могут "
    "быть сохранены:\n"};

const TwoTextMessage kKeepParametersQuestion = {
    "要尝试保留这些配置的参数吗?\n", "Хотите попытаться сохранить эти параметры конфигурации?\n"};

const TwoTextMessage kParameterDumpFailed = {
    "创建临时*.dat文件失败，参数保留失败。可能是."
    "fmt文件被破坏，请重启安装程序，安装全新的Vexorand.",
    "Создать временный файл *. Dat и сохранять параметры не удается. Может быть. Fmt файл был "
    "поврежден, пожалуйста, перезапустить программу установки для установки нового Vexorand."};

const TwoTextMessage kVersionsIncompatible = {
    "参数迁移失败，版本不兼容。", "Перенос параметров не удаётся, версия несовместимая."};

const TwoTextMessage kTransferReportHeader = {"以下配置:\n", "Следующие конфигурации:\n"};

const TwoTextMessage kTransferSucceeded = {"保留参数成功\n", "Успешное сохранение параметров\n"};

const TwoTextMessage kTransferWriteFailed = {
    "配置%s的参数写入失败，临时参数文件保存在%s\n",
    "Запись параметров конфигурации %s не удаётся, временные файлы параметров сохранены в %s\n"};

const TwoTextMessage kTransferValueNotCarried = {
    "配置%s的参数%s的值含有分号或换行符，未能保留，请重新输入\n",
    "Конфигурация %s: значение параметра %s содержит точку с запятой или перевод строки и не "
    "сохранено, введите его заново\n"};

const TwoTextMessage kTransferFromDamagedFile = {
    "配置%s的参数读自已损坏的参数文件，请检查参数\n",
    "Параметры конфигурации %s прочитаны из повреждённого файла параметров, проверьте их\n"};

// --- Generated-files directory -------------------------------------------------------------------

const TwoTextMessage kWrongGeneratedDirectory = {
    "生成文件路径错误，请自行备份和删除%s下的过期的生成文件",
    "Generate files' directory is wrong，please backup and delete old generate files in "
    "directory(%s)"};

const TwoTextMessage kNoOtherDrive = {
    "没有其它分区存放生成文件，分离失败！",
    "There is no other Driver to save generate files, fail to separate!"};

const TwoTextMessage kSeparationFailed = {
    "生成文件分离失败：%s：%s\n未复制的文件仍留在原处。",
    "Fail to separate generate files: %s: %s\nFiles not copied stay where they were."};

// --- Format description and parameter dump -------------------------------------------------------

const TwoTextMessage kArrayGroupName = {"第%d组", "Group %d"};

const TwoTextMessage kSerialNumberOrder = {
    "参数编号重复或顺序有误: \r\n%s 和 %s\r\n请修改",
    "There is repeated serial number or the sequence is wrong: \r\n%s and %s\r\nPlease modify"};

// --- Drivers -------------------------------------------------------------------------------------

const char kDriverInstallFailed[] = "安装%s失败！";

const TwoTextMessage kDriverFilesUnreadable = {"无法读取驱动程序文件%s：%s",
                                               "Не удалось прочитать файлы драйверов %s: %s"};

// --- End of a run (console summary) and interruptions ----------------------------------------

const TwoTextMessage kSummaryExitCode = {"安装程序结束，退出代码 %d。报告：%s",
                                         "Программа установки завершена, код выхода %d. Отчёт: %s"};

const TwoTextMessage kSummaryBackup = {"备份：%s", "Резервная копия: %s"};

const TwoTextMessage kSummaryMigrationFolder = {"未转移的参数保存在%s",
                                                "Не перенесённые параметры сохранены в %s"};

const TwoTextMessage kSummaryNotCarried = {"配置%s的参数没有保留：%s",
                                           "Параметры конфигурации %s не перенесены: %s"};

const TwoTextMessage kSummaryDriverFailed = {"驱动程序%s没有安装。", "Драйвер %s не установлен."};

const TwoTextMessage kSummaryPackageCopyFailed = {"安装包备份%s没有写入。",
                                                  "Копия пакета установки %s не записана."};

const TwoTextMessage kSummaryLanguageNotRecorded = {"语言设置没有写入。",
                                                    "Настройка языка не записана."};

const TwoTextMessage kSummaryNotDeleted = {"无法删除：%s", "Не удалось удалить: %s"};

const TwoTextMessage kStopCancelled = {"安装程序被中断，没有做任何更改。",
                                       "Программа установки прервана, ничего не изменено."};

const TwoTextMessage kStopAtSafePoint = {
    "安装程序将在当前步骤完成后停止，请稍候，不要关闭计算机。",
    "Программа установки остановится после завершения текущего шага. Подождите, не выключайте "
    "компьютер."};

const TwoTextMessage kStoppedRunAgain = {
    "安装程序已停止，更新没有完成。请再次运行安装包以完成更新。",
    "Программа установки остановлена, обновление не завершено. Запустите пакет установки снова, "
    "чтобы завершить обновление."};

// --- Dialogs -------------------------------------------------------------------------------------

const char kLanguageDialogCaption[] = "Vexorand Setup Program";

const TwoTextMessage kStartConfirmation = {
    "按“是”开始更新系统，否则按“否”退出。",
    "Нажмите кнопку 'Да', чтобы начать обновление системы, в противном случае нажмите 'Нет', "
    "чтобы выйти из него."};

const TwoTextMessage kProgressCaption = {"Vexorand 安装程序 ...",
                                         "Vexorand программа установки ..,"};

namespace {

constexpr int kFirstStepLabel = 140;

// Labels 140 to 151, in order.
const TwoTextMessage kStepLabels[] = {
    {"等待 Vexorand 关闭...", "Ждать закрытия Vexorand..."},
    {"开始执行安装程序...", "Начать исполнить программу установки..."},
    {"收集信息...", "Сбор информации ..."},
    {"生成临时参数文件...", "Генерация временного файла параметров ..."},
    {"清除原安装目录...", "Очистить исходный каталог ..."},
    {"复制文件...", "Копирование файлов ..."},
    {"复制其他文档...", "Копия других документов ..."},
    {"安装驱动程序...", "Установите драйвер ..."},
    {"备份安装包...", "Резервное копирование пакета установки ..."},
    {"转移参数...", "Перенос параметров..."},
    {"完成自动更新...", "Завершение автоматического обновления ..."},
    {"退出操作系统，关闭计算机！", "Выйдите из операционной системы, выключите компьютер!"},
};

}  // namespace

const TwoTextMessage* StepLabelText(int chineseLabelId) {
  const int index = chineseLabelId - kFirstStepLabel;
  const int count = static_cast<int>(sizeof(kStepLabels) / sizeof(kStepLabels[0]));
  return index >= 0 && index < count ? &kStepLabels[index] : nullptr;
}
