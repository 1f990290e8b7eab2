// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/rmrwindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window RMR.
const Window& rmr() {
    static const Window window{
        u"RMR"_s, u"ＲＭＲ"_s, 10845, 5835,
        QPoint(1875, 3750), Colour{192, 192, 255}, Font{PGothic, 9},
        {
            {u"Label1"_s, Label, u"ＲＭＲ　エネルギー代謝率"_s, 1320, 120, 4575, 375, 0, Font{PMincho, 18}, Colour{192, 192, 255}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Picture1"_s, Picture, {}, 120, 720, 2775, 4935, 1, Font{PGothic, 12}, Colour{255, 255, 255}, {}, NoSettings, 0, {}, u"ＲＭＲ一覧 1"_s},
            {u"Picture2"_s, Picture, {}, 3000, 720, 2775, 4935, 2, Font{PGothic, 12}, Colour{255, 255, 255}, {}, NoSettings, 0, {}, u"ＲＭＲ一覧 2"_s},
            {u"Command1"_s, Button, u"表　　　　示"_s, 9240, 720, 1455, 975, 3, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command2"_s, Button, u"処方menuへ"_s, 9240, 2280, 1575, 2295, 4, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Picture3"_s, Picture, {}, 5880, 720, 3255, 4935, 5, Font{PGothic, 12}, Colour{255, 255, 255}, {}, NoSettings, 0, {}, u"ＲＭＲ一覧 3"_s},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
