// The main window's texts in Russian and English: the grid's columns and the captions and hints the language
// switch sets.
#pragma once

#include <array>
#include <span>

namespace korvex::app {

// Grid column k: its menu item, header caption and menu caption in both languages.
struct TColumnCaption {
    const char* ItemName;   // the column's menu item ("Core1" ...)
    const char* HeaderRussian;
    const char* HeaderEnglish;
    const char* ItemEnglish;
    const char* ItemRussian;
};
const std::array<TColumnCaption, 9>& ColumnCaptions();

enum class TCaptionTarget { Caption, Hint };

// A component's caption or hint in both languages.
struct TCaptionText {
    const char* Name;
    TCaptionTarget Target;
    const char* English;
    const char* Russian;
};
std::span<const TCaptionText> MainCaptionTable();

// The grid's cell hints (by column) and the node-name and progress headers.
struct TLanguageText {
    const char* Russian;
    const char* English;
    const char* In(int language) const { return language == 0 ? Russian : English; }
};
inline constexpr TLanguageText NameHeader {"Имя ноды", "Node name"};
inline constexpr TLanguageText ProgressHeader {"Выполнение", "Progress"};
inline constexpr TLanguageText CoreTypeHint {"Тип ядра\r\n", "Core type\r\n"};
inline constexpr TLanguageText RemainHint {"Время в часах.\r\n(прогноз)", "Estimated Hours Remaining"};
inline constexpr TLanguageText FinishHint {"Прогноз при сохранении текущего\r\nрежима использования CPU",
    "Estimated completion time\r\nunder current CPU useage"};
inline constexpr TLanguageText PointsHint {
    "Очки, начисляемые после\r\nзавершения расчёта WU", "Points are awarded upon\r\ncompletion of the work unit"};
inline constexpr const char* RunCloneGenHint = "#Project * #Run-#Clone-#Gen";
inline constexpr TLanguageText SameUnitsHint {"Одинаковые юниты", ""};
inline constexpr TLanguageText SeenUnitHint {"Возможно посчитанный\r\nранее юнит", ""};

}
