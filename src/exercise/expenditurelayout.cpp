// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/expenditurewindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window 消費.
const Window& expenditure() {
    static const Window window{
        u"消費"_s, u"消費エネルギー"_s, 10215, 6585,
        QPoint(2145, 2445), std::nullopt, Font{PGothic, 9},
        {
            {u"Label1"_s, Label, u"消費　エネルギー計算"_s, 480, 120, 3495, 375, 0, Font{PGothic, 15.75}, {}, Colour{0, 0, 255}, NoSettings, 0, {}, {}},
            {u"Picture1"_s, Picture, {}, 120, 1200, 2775, 4575, 1, {}, Colour{255, 255, 192}, {}, NoSettings, 0, {}, u"ＲＭＲ一覧 1"_s},
            {u"Picture2"_s, Picture, {}, 2880, 1200, 2655, 4575, 2, {}, Colour{255, 255, 192}, {}, NoSettings, 0, {}, u"ＲＭＲ一覧 2"_s},
            {u"Label2"_s, Label, u"運動した種目と時間を入力してください。"_s, 5640, 120, 3495, 255, 3, Font{PGothic, 9.75}, {}, Colour{255, 255, 0}, NoSettings, 0, {}, {}},
            {u"Label3"_s, Label, u"種目番号　　時間（分単位）  　     性別"_s, 5640, 480, 3135, 255, 4, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Text1"_s, TextBox, {}, 5640, 1320, 615, 375, 5, {}, {}, {}, NoSettings, 0, {}, u"種目番号 1"_s},
            {u"Text2"_s, TextBox, {}, 6480, 1320, 855, 375, 6, {}, {}, {}, NoSettings, 0, {}, u"時間 1"_s},
            {u"Text3"_s, TextBox, {}, 5640, 1920, 615, 375, 7, {}, {}, {}, NoSettings, 0, {}, u"種目番号 2"_s},
            {u"Text4"_s, TextBox, {}, 6480, 1920, 855, 375, 8, {}, {}, {}, NoSettings, 0, {}, u"時間 2"_s},
            {u"Text5"_s, TextBox, {}, 5640, 2520, 615, 375, 9, {}, {}, {}, NoSettings, 0, {}, u"種目番号 3"_s},
            {u"Text6"_s, TextBox, {}, 6480, 2520, 855, 375, 10, {}, {}, {}, NoSettings, 0, {}, u"時間 3"_s},
            {u"Text7"_s, TextBox, {}, 5640, 3000, 615, 375, 11, {}, {}, {}, NoSettings, 0, {}, u"種目番号 4"_s},
            {u"Text8"_s, TextBox, {}, 6480, 3000, 855, 375, 12, {}, {}, {}, NoSettings, 0, {}, u"時間 4"_s},
            {u"Text9"_s, TextBox, {}, 5640, 3600, 615, 375, 13, {}, {}, {}, NoSettings, 0, {}, u"種目番号 5"_s},
            {u"Text10"_s, TextBox, {}, 6480, 3600, 855, 375, 14, {}, {}, {}, NoSettings, 0, {}, u"時間 5"_s},
            {u"Text11"_s, TextBox, {}, 5640, 4200, 615, 375, 15, {}, {}, {}, NoSettings, 0, {}, u"種目番号 6"_s},
            {u"Text12"_s, TextBox, {}, 6480, 4200, 855, 375, 16, {}, {}, {}, NoSettings, 0, {}, u"時間 6"_s},
            {u"Text13"_s, TextBox, {}, 5640, 4800, 615, 375, 17, {}, {}, {}, NoSettings, 0, {}, u"種目番号 7"_s},
            {u"Text14"_s, TextBox, {}, 6480, 4800, 855, 375, 18, {}, {}, {}, NoSettings, 0, {}, u"時間 7"_s},
            {u"Text15"_s, TextBox, {}, 5640, 5280, 615, 375, 19, {}, {}, {}, NoSettings, 0, {}, u"種目番号 8"_s},
            {u"Text16"_s, TextBox, {}, 6480, 5280, 855, 375, 20, {}, {}, {}, NoSettings, 0, {}, u"時間 8"_s},
            {u"Picture3"_s, Picture, {}, 7920, 2160, 1335, 735, 21, Font{PGothic, 14.25}, Colour{224, 224, 224}, {}, NoSettings, 0, {}, u"合計"_s},
            {u"Label8"_s, Label, u"　Kcal"_s, 8640, 3000, 855, 375, 22, Font{PGothic, 15.75}, {}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Label9"_s, Label, u"合計"_s, 7800, 1560, 495, 255, 23, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command1"_s, Button, u"　計　　　算"_s, 8040, 3480, 1335, 735, 24, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command2"_s, Button, u"処方menuへ"_s, 8040, 5400, 1335, 975, 25, Font{PGothic, 9, true}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command3"_s, Button, u"RMR表示"_s, 240, 480, 5175, 495, 26, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label5"_s, Label, u"性別"_s, 8520, 840, 255, 375, 27, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label6"_s, Label, u"男＝＞１"_s, 9000, 1320, 975, 255, 28, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label7"_s, Label, u"女＝＞２"_s, 9000, 1560, 855, 375, 29, {}, {}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Text17"_s, TextBox, {}, 8880, 840, 495, 375, 30, {}, {}, {}, NoSettings, 0, {}, u"性別"_s},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
