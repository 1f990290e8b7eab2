// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/documentwindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window 病気.
const Window& documents() {
    static const Window window{
        u"病気"_s, u"病気"_s, 10425, 8460,
        QPoint(1365, 1395), std::nullopt, Font{PGothic, 9},
        {
            {u"Command1"_s, Button, u"ファイル読み込み"_s, 1080, 7680, 1815, 735, 0, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command2"_s, Button, u"印刷"_s, 3840, 7680, 1575, 735, 1, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command3"_s, Button, u"処方menuへ"_s, 6600, 7680, 3735, 735, 2, Font{PGothic, 12, true}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label1"_s, Label, u"病気の説明等"_s, 600, 120, 3615, 375, 3, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Text1"_s, TextBox, u"　　　健康相談フォルダの　　　ファイルからご希望の文献を読み込んでください。！\r\n"_s, 120, 120, 10215, 7455, 4, Font{PGothic, 12}, {}, {}, MultiLine | BothScrollBars, 0, {}, u"病気の説明等"_s},
            {u"CommonDialog1"_s, FileDialog, {}, 0, 0, 0, 0, -1, {}, {}, {}, NoSettings, 0, {}, {}},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
