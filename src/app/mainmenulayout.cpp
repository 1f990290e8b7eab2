// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainmenuwindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window 健康menu.
const Window& mainMenu() {
    static const Window window{
        u"健康menu"_s, u"ヨモリス"_s, 4680, 3480,
        std::nullopt, std::nullopt, Font{PGothic, 9},
        {
            {u"Command1"_s, Button, u"食品カロリー"_s, 360, 720, 1575, 375, 0, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command2"_s, Button, u"摂取カロリー"_s, 2880, 720, 1455, 375, 1, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command3"_s, Button, u"運動エネルギー"_s, 360, 1440, 1575, 375, 2, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command4"_s, Button, u"消費エネルギー"_s, 2880, 1440, 1455, 375, 3, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label1"_s, Label, u"ヨ　モ　リ　ス"_s, 840, 120, 3255, 255, 4, Font{Mincho, 14.25, true}, {}, {}, Centred, 0, {}, {}},
            {u"Command5"_s, Button, u"標準体重指標"_s, 360, 2280, 1575, 375, 5, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command6"_s, Button, u"文献など"_s, 2880, 2160, 1455, 375, 6, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command7"_s, Button, u"おわり"_s, 2040, 2760, 855, 540, 7, {}, {}, {}, NoSettings, 0, {}, {}},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
