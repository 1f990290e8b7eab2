// SPDX-License-Identifier: GPL-3.0-or-later
#include "meals/intakewindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window 摂取.
const Window& intake() {
    static const Window window{
        u"摂取"_s, u"摂取"_s, 7095, 5505,
        QPoint(5370, 2610), std::nullopt, Font{PGothic, 9},
        {
            {u"Label1"_s, Label, u"摂取カロリー計算"_s, 2400, 120, 3015, 375, 0, Font{PGothic, 18}, {}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Label2"_s, Label, u"何を食べましたか？"_s, 480, 480, 2175, 255, 1, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label3"_s, Label, u"番号を入力！してください。"_s, 840, 840, 2895, 375, 2, Font{PGothic, 12}, {}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Label4"_s, Label, u"　　１　　　　２　　　　３　　　　４　　　　５　　　　６　　　　７　　　　８　　　　９　　　１０"_s, 0, 1320, 6135, 255, 3, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label5"_s, Label, u"朝食"_s, 6120, 1680, 615, 255, 4, Font{PGothic, 12}, {}, Colour{0, 0, 255}, NoSettings, 0, {}, {}},
            {u"Label6"_s, Label, u"昼食"_s, 6120, 2400, 855, 255, 5, Font{PGothic, 12}, {}, Colour{0, 192, 0}, NoSettings, 0, {}, {}},
            {u"Text11"_s, TextBox, {}, 120, 2280, 375, 375, 6, {}, {}, {}, NoSettings, 0, {}, u"昼食 1"_s},
            {u"Text12"_s, TextBox, {}, 720, 2280, 375, 375, 7, {}, {}, {}, NoSettings, 0, {}, u"昼食 2"_s},
            {u"Text13"_s, TextBox, {}, 1320, 2280, 375, 375, 8, {}, {}, {}, NoSettings, 0, {}, u"昼食 3"_s},
            {u"Text14"_s, TextBox, {}, 1920, 2280, 375, 375, 9, {}, {}, {}, NoSettings, 0, {}, u"昼食 4"_s},
            {u"Text15"_s, TextBox, {}, 2520, 2280, 375, 375, 10, {}, {}, {}, NoSettings, 0, {}, u"昼食 5"_s},
            {u"Text16"_s, TextBox, {}, 3120, 2280, 375, 375, 11, {}, {}, {}, NoSettings, 0, {}, u"昼食 6"_s},
            {u"Text17"_s, TextBox, {}, 3720, 2280, 375, 375, 12, {}, {}, {}, NoSettings, 0, {}, u"昼食 7"_s},
            {u"Text18"_s, TextBox, {}, 4320, 2280, 375, 375, 13, {}, {}, {}, NoSettings, 0, {}, u"昼食 8"_s},
            {u"Text19"_s, TextBox, {}, 4920, 2280, 375, 375, 14, {}, {}, {}, NoSettings, 0, {}, u"昼食 9"_s},
            {u"Text20"_s, TextBox, {}, 5520, 2280, 375, 375, 15, {}, {}, {}, NoSettings, 0, {}, u"昼食 10"_s},
            {u"Text21"_s, TextBox, {}, 120, 2880, 375, 375, 16, {}, {}, {}, NoSettings, 0, {}, u"夕食 1"_s},
            {u"Text22"_s, TextBox, {}, 720, 2880, 375, 375, 17, {}, {}, {}, NoSettings, 0, {}, u"夕食 2"_s},
            {u"Text23"_s, TextBox, {}, 1320, 2880, 375, 375, 18, {}, {}, {}, NoSettings, 0, {}, u"夕食 3"_s},
            {u"Text24"_s, TextBox, {}, 1920, 2880, 375, 375, 19, {}, {}, {}, NoSettings, 0, {}, u"夕食 4"_s},
            {u"Text25"_s, TextBox, {}, 2520, 2880, 375, 375, 20, {}, {}, {}, NoSettings, 0, {}, u"夕食 5"_s},
            {u"Text26"_s, TextBox, {}, 3120, 2880, 375, 375, 21, {}, {}, {}, NoSettings, 0, {}, u"夕食 6"_s},
            {u"Text27"_s, TextBox, {}, 3720, 2880, 375, 375, 22, {}, {}, {}, NoSettings, 0, {}, u"夕食 7"_s},
            {u"Text28"_s, TextBox, {}, 4320, 2880, 375, 375, 23, {}, {}, {}, NoSettings, 0, {}, u"夕食 8"_s},
            {u"Text29"_s, TextBox, {}, 4920, 2880, 375, 375, 24, {}, {}, {}, NoSettings, 0, {}, u"夕食 9"_s},
            {u"Text30"_s, TextBox, {}, 5520, 2880, 375, 375, 25, {}, {}, {}, NoSettings, 0, {}, u"夕食 10"_s},
            {u"Label7"_s, Label, u"夕食"_s, 6120, 3000, 735, 375, 26, Font{PGothic, 12}, {}, Colour{255, 128, 0}, NoSettings, 0, {}, {}},
            {u"Picture1"_s, Picture, {}, 120, 3840, 1695, 615, 27, Font{PGothic, 15.75}, Colour{255, 255, 255}, {}, NoSettings, 0, {}, u"朝食合計"_s},
            {u"Label9"_s, Label, u"朝食合計"_s, 240, 3480, 855, 255, 28, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Picture2"_s, Picture, {}, 1920, 3840, 1335, 615, 29, Font{PGothic, 15.75}, Colour{255, 255, 192}, {}, NoSettings, 0, {}, u"昼食合計"_s},
            {u"Label10"_s, Label, u"昼食合計"_s, 1920, 3480, 1215, 255, 30, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Picture3"_s, Picture, {}, 3360, 3840, 1575, 615, 31, Font{PGothic, 14.25}, Colour{255, 224, 192}, {}, NoSettings, 0, {}, u"夕食合計"_s},
            {u"Label11"_s, Label, u"夕食合計"_s, 3360, 3480, 1335, 255, 32, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Label8"_s, Label, u"合計摂取熱量"_s, 240, 5040, 1455, 375, 33, Font{PGothic, 12}, {}, {}, NoSettings, 0, {}, {}},
            {u"Picture4"_s, Picture, {}, 1920, 4680, 2055, 615, 34, Font{PGothic, 20.25}, {}, {}, NoSettings, 0, {}, u"合計摂取熱量"_s},
            {u"Label12"_s, Label, u"Kｃａｌ"_s, 4200, 4920, 1095, 375, 35, Font{PGothic, 15.75}, {}, Colour{255, 0, 0}, NoSettings, 0, {}, {}},
            {u"Command1"_s, Button, u"計　　算"_s, 5280, 3840, 1575, 615, 36, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Command2"_s, Button, u"処方menuへ"_s, 5280, 4680, 1575, 615, 37, {}, {}, {}, NoSettings, 0, {}, {}},
            {u"Text1"_s, TextBox, {}, 120, 1680, 375, 375, 38, {}, {}, {}, NoSettings, 0, {}, u"朝食 1"_s},
            {u"Text2"_s, TextBox, {}, 720, 1680, 375, 375, 39, {}, {}, {}, NoSettings, 0, {}, u"朝食 2"_s},
            {u"Text3"_s, TextBox, {}, 1320, 1680, 375, 375, 40, {}, {}, {}, NoSettings, 0, {}, u"朝食 3"_s},
            {u"Text4"_s, TextBox, {}, 1920, 1680, 375, 375, 41, {}, {}, {}, NoSettings, 0, {}, u"朝食 4"_s},
            {u"Text5"_s, TextBox, {}, 2520, 1680, 375, 375, 42, {}, {}, {}, NoSettings, 0, {}, u"朝食 5"_s},
            {u"Text6"_s, TextBox, {}, 3120, 1680, 375, 375, 43, {}, {}, {}, NoSettings, 0, {}, u"朝食 6"_s},
            {u"Text7"_s, TextBox, {}, 3720, 1680, 375, 375, 44, {}, {}, {}, NoSettings, 0, {}, u"朝食 7"_s},
            {u"Text8"_s, TextBox, {}, 4320, 1680, 375, 375, 45, {}, {}, {}, NoSettings, 0, {}, u"朝食 8"_s},
            {u"Text9"_s, TextBox, {}, 4920, 1680, 375, 375, 46, {}, {}, {}, NoSettings, 0, {}, u"朝食 9"_s},
            {u"Text10"_s, TextBox, {}, 5520, 1680, 375, 375, 47, {}, {}, {}, NoSettings, 0, {}, u"朝食 10"_s},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
