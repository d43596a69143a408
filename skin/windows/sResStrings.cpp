// The string table of the skinned windows and its texts, in English and Russian.
#include "skin/windows/sResStrings.h"

#include "platform/os/DesktopLanguage.h"

#include <map>
#include <utility>

namespace korvex::skin {

namespace {

// The texts the desktop would give on its own (its dialogs, window menu and message boxes): in its language.
const std::map<int, std::pair<const char*, const char*>>& Texts() {
    static const std::map<int, std::pair<const char*, const char*>> texts {
        {58912, {"Save", "Сохранить"}},
        {58913, {"Open", "Открыть"}},
        {58914, {"Save", "Сохранить"}},
        {58915, {"Open", "Открыть"}},
        {58916, {"Small icons", "Мелкие значки"}},
        {58917, {"Icons", "Значки"}},
        {58918, {"Report", "Таблица"}},
        {58919, {"List", "Список"}},
        {58920, {"Read only", "Только чтение"}},
        {58921, {"File type", "Тип файлов"}},
        {58922, {"File name", "Имя файла"}},
        {58923, {"Folder", "Папка"}},
        {58951, {"Hex - ", "Hex - "}},
        {58952, {"Decimal - ", "Десятичн. - "}},
        {58953, {"Blue :", "Синий :"}},
        {58954, {"Green :", "Зелёный :"}},
        {58955, {"Red :", "Красный :"}},
        {58956, {"Color", "Цвет"}},
        {58957, {"Additional colors :", "Дополнительные цвета :"}},
        {58958, {"Main palette :", "Основные цвета :"}},
        {58959, {"Define colors", "Определить цвет"}},
        {58960, {"Add to custom colors set", "Добавить в набор"}},
        {58964, {"Available skins", "Доступные скины"}},
        {58976, {"Close", "Закрыть"}},
        {58977, {"Maximize", "Развернуть"}},
        {58978, {"Minimize", "Свернуть"}},
        {58979, {"Size", "Размер"}},
        {58980, {"Move", "Переместить"}},
        {58981, {"Restore", "Восстановить"}},
        {58982, {"Yes to &All", "Да для &всех"}},
        {58983, {"N&o to All", "Н&ет для всех"}},
        {58984, {"&All", "&Все"}},
        {58985, {"&Ignore", "П&ропустить"}},
        {58986, {"&Retry", "П&овторить"}},
        {58987, {"&Abort", "&Прервать"}},
        {58990, {"&Help", "&Справка"}},
        {58991, {"Cancel", "Отмена"}},
        {58992, {"OK", "ОК"}},
        {58993, {"&No", "&Нет"}},
        {58994, {"&Yes", "&Да"}},
        {58995, {"Confirm", "Подтверждение"}},
        {58996, {"Information", "Информация"}},
        {58997, {"Error", "Ошибка"}},
        {58998, {"Warning", "Предупреждение"}},
        {65280, {"All files (*.*)|*.*", "Все файлы (*.*)|*.*"}},
    };
    return texts;
}

std::map<int, std::string>& Replaced() {
    static std::map<int, std::string> replaced;
    return replaced;
}

}

std::string LoadResString(int id) {
    if (const auto replaced = Replaced().find(id); replaced != Replaced().end()) return replaced->second;
    const auto found = Texts().find(id);
    return found != Texts().end() ? os::DesktopText(found->second.first, found->second.second) : std::string();
}

void ReplaceResString(int id, std::string text) {
    Replaced()[id] = std::move(text);
}

}
