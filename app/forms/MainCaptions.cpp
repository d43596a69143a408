// The main window's texts in Russian and English.
#include "app/forms/MainCaptions.h"

namespace korvex::app {

const std::array<TColumnCaption, 9>& ColumnCaptions() {
    static const std::array<TColumnCaption, 9> columns = {{
        {"Core1", "Ядро", "Core", "Core name", "Название ядра"},
        {"Remain1", "Остал.", "Remain", "Remain, in hr", "Остаток, в часах"},
        {"Start1", "Начат", "Start", "Start WU", "WU начат"},
        {"Deadline1", "Посл. срок", "Deadline", "Deadline WU", "Посл. срок WU"},
        {"Finish1", "Прогноз", "Finish (?)", "Finish WU", "Прогноз оконч."},
        {"Credit1", "Очки", "Points", "Points", "Очки"},
        {"Day1", "PPD", "PPD", "Points per Day", "Очков в день"},
        {"Hour1", "PPH", "PPH", "Points per Hour", "Очков в час"},
        {"RunCloneGen1", "PRJ * R-C-G", "PRJ * R-C-G", "Run-Clone-Gen", "Run-Clone-Gen"},
    }};
    return columns;
}

std::span<const TCaptionText> MainCaptionTable() {
    using enum TCaptionTarget;
    static const TCaptionText table[] = {
        {"Menu1", Caption, "Menu", "Меню"},
        {"ExitBar1", Caption, "EXIT", "ВЫХОД"},
        {"Edit", Caption, "Options", "Настройки"},
        {"N1", Caption, "Options", "Настройки"},
        {"sSpeedButton2", Hint, "Options", "Настройки"},
        {"Histograms1", Caption, "Histograms", "Гистограммы"},
        {"Histograms2", Caption, "Histograms", "Гистограммы"},
        {"sSpeedButton3", Hint, "Histogram", "Гистограммы"},
        {"Refresh1", Caption, "Refresh data", "Обновить данные"},
        {"Refreshdata1", Caption, "Refresh data", "Обновить данные"},
        {"sSpeedButton4", Hint, "Refresh", "Обновить"},
        {"Exit1", Caption, "Exit", "Выход"},
        {"Exit2", Caption, "Exit", "Выход"},
        {"sSpeedButton1", Hint, "Exit", "Выход"},
        {"About1", Caption, "About", "О программе"},
        {"AllON1", Caption, "All ON", "Вкл. ВСЁ"},
        {"ViewFAHLogfiles1", Caption, "View FAHLog files", "Просмотреть FAHLog"},
        {"ViewFAHlogfile2", Caption, "View FAHLog files", "Просмотреть FAHLog"},
        {"sSpeedButton5", Hint, "View FAHLog files", "Просмотреть FAHLog"},
        {"ViewWUshistory1", Caption, "View WUs history", "История заданий"},
        {"sSpeedButton6", Hint, "View WUs history", "История заданий"},
        {"Checknewversion1", Caption, "Check for new version of KORVEX", "Проверить новые версии KORVEX"},
        {"sSpeedButton7", Hint, "Check for new version of KORVEX", "Проверить новые версии KORVEX"},
        {"Help1", Caption, "Help", "Помощь"},
        {"Forums1", Caption, "Forums", "Форумы"},
        {"Projectsummary1", Caption, "Project summary", "Текущие проекты"},
        {"Website1", Caption, "KORVEX website (Russia)", "KORVEX официальный сайт (Россия)"},
        {"Website2", Caption, "KORVEX website (Canada)", "KORVEX зеркало (Канада)"},
    };
    return table;
}

}
