// The names colour boxes show for the listed colours, in the desktop's language.
#include "platform/classes/TColorBox.h"

#include "platform/os/DesktopLanguage.h"

#include <map>
#include <string_view>

namespace korvex::classes {

namespace {

const std::map<std::string_view, const char*>& RussianNames() {
    static const std::map<std::string_view, const char*> names {
        {"clBlack", "Чёрный"},
        {"clMaroon", "Бордовый"},
        {"clGreen", "Зелёный"},
        {"clOlive", "Оливковый"},
        {"clNavy", "Тёмно-синий"},
        {"clPurple", "Пурпурный"},
        {"clTeal", "Сине-зелёный"},
        {"clGray", "Серый"},
        {"clSilver", "Серебристый"},
        {"clRed", "Красный"},
        {"clLime", "Лайм"},
        {"clYellow", "Жёлтый"},
        {"clBlue", "Синий"},
        {"clFuchsia", "Фуксия"},
        {"clAqua", "Морская волна"},
        {"clWhite", "Белый"},
        {"clMoneyGreen", "Светло-зелёный"},
        {"clSkyBlue", "Небесно-голубой"},
        {"clCream", "Кремовый"},
        {"clMedGray", "Средне-серый"},
        {"clActiveBorder", "Рамка активного окна"},
        {"clActiveCaption", "Заголовок активного окна"},
        {"clAppWorkSpace", "Рабочая область приложения"},
        {"clBackground", "Рабочий стол"},
        {"clBtnFace", "Поверхность кнопки"},
        {"clBtnHighlight", "Светлый край кнопки"},
        {"clBtnShadow", "Тень кнопки"},
        {"clBtnText", "Текст кнопки"},
        {"clCaptionText", "Текст заголовка"},
        {"clDefault", "По умолчанию"},
        {"clGradientActiveCaption", "Градиент активного заголовка"},
        {"clGradientInactiveCaption", "Градиент неактивного заголовка"},
        {"clGrayText", "Недоступный текст"},
        {"clHighlight", "Выделение"},
        {"clHighlightText", "Выделенный текст"},
        {"clHotLight", "Гиперссылка"},
        {"clInactiveBorder", "Рамка неактивного окна"},
        {"clInactiveCaption", "Заголовок неактивного окна"},
        {"clInactiveCaptionText", "Текст неактивного заголовка"},
        {"clInfoBk", "Фон подсказки"},
        {"clInfoText", "Текст подсказки"},
        {"clMenu", "Меню"},
        {"clMenuBar", "Строка меню"},
        {"clMenuHighlight", "Выделение меню"},
        {"clMenuText", "Текст меню"},
        {"clNone", "Нет"},
        {"clScrollBar", "Полоса прокрутки"},
        {"cl3DDkShadow", "Тёмная тень объёма"},
        {"cl3DLight", "Светлый край объёма"},
        {"clWindow", "Окно"},
        {"clWindowFrame", "Рамка окна"},
        {"clWindowText", "Текст окна"},
    };
    return names;
}

}   // namespace

std::string ColorBoxName(const std::string& ident) {
    if (os::DesktopLanguage() == os::TDesktopLanguage::Russian)
        if (const auto found = RussianNames().find(ident); found != RussianNames().end()) return found->second;
    return PrettyColorName(ident);
}

std::string CustomColorItem() {
    return os::DesktopText("Custom...", "Другой...");
}

}
