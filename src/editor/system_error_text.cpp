#include "editor/system_error_text.h"

#include <cerrno>
#include <system_error>

namespace tal {
namespace {

struct Reason {
    std::errc error;
    const char* text;
};

// The wording of the Russian system messages.
constexpr Reason kReasons[] = {
    {std::errc::no_space_on_device, "Нет места на устройстве"},
    {std::errc::permission_denied, "Отказано в доступе"},
    {std::errc::operation_not_permitted, "Операция не позволена"},
    {std::errc::read_only_file_system, "Файловая система доступна только для чтения"},
    {std::errc::io_error, "Ошибка ввода/вывода"},
    {std::errc::no_such_file_or_directory, "Нет такого файла или каталога"},
    {std::errc::not_a_directory, "Это не каталог"},
    {std::errc::is_a_directory, "Это каталог"},
    {std::errc::file_too_large, "Файл слишком велик"},
    {std::errc::filename_too_long, "Слишком длинное имя файла"},
    {std::errc::too_many_files_open, "Слишком много открытых файлов"},
    {std::errc::device_or_resource_busy, "Устройство или ресурс занято"},
    {std::errc::text_file_busy, "Текстовый файл занят"},
    {std::errc::no_such_device_or_address, "Нет такого устройства или адреса"},
};

}  // namespace

std::string systemErrorText(int error) {
    if (error == 0)
        return {};
#ifdef EDQUOT
    if (error == EDQUOT)
        return "Превышена дисковая квота";
#endif
    for (const Reason& reason : kReasons)
        if (error == static_cast<int>(reason.error))
            return reason.text;
    return std::generic_category().message(error);
}

}  // namespace tal
