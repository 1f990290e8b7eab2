// SPDX-License-Identifier: GPL-3.0-or-later
#include "meals/setmealwindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window 定食1.
const Window& setMeal() {
    static const Window window{
        u"定食1"_s, u"定食1"_s, 10845, 7635,
        std::nullopt, Colour{192, 192, 255}, Font{PGothic, 9},
        {
            {u"Label1"_s, Label, u"食事カロリー1"_s, 1320, 120, 2415, 375, 0, Font{PMincho, 18}, Colour{192, 192, 255}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Picture1"_s, Picture, {}, 120, 720, 2415, 6855, 1, Font{PGothic, 8.25}, Colour{255, 255, 255}, Colour{0, 0, 0}, NoSettings, 0, {}, u"定食一覧 1"_s},
            {u"Picture2"_s, Picture, {}, 2520, 720, 2655, 6855, 2, Font{PGothic, 8.25}, Colour{255, 255, 255}, Colour{0, 0, 0}, NoSettings, 0, {}, u"定食一覧 2"_s},
            {u"Command1"_s, Button, u"表　　　　示"_s, 10080, 720, 735, 975, 3, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command2"_s, Button, u"処方menuへ"_s, 10080, 4320, 735, 2295, 4, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Picture3"_s, Picture, {}, 5160, 720, 2415, 6855, 5, Font{PGothic, 8.25}, Colour{255, 255, 255}, Colour{0, 0, 0}, NoSettings, 0, {}, u"定食一覧 3"_s},
            {u"Picture4"_s, Picture, {}, 7560, 720, 2415, 6855, 6, Font{PGothic, 8.25}, Colour{255, 255, 255}, Colour{0, 0, 0}, NoSettings, 0, {}, u"定食一覧 4"_s},
            {u"Command3"_s, Button, u"次のページ"_s, 10080, 1920, 735, 1455, 7, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label2"_s, Label, u"食事の番号を控えてください"_s, 4200, 240, 3615, 375, 8, Font{PGothic, 14.25}, Colour{192, 192, 255}, {}, NoSettings, 0, {}, {}},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
