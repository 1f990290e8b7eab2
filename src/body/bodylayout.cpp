// SPDX-License-Identifier: GPL-3.0-or-later
#include "body/bodywindow.h"

#include "forms/layoutrows.h"

using namespace Qt::StringLiterals;

namespace layout {

using namespace rows;

// clang-format off
// Window 標準.
const Window& body() {
    static const Window window{
        u"標準"_s, u"標準"_s, 7350, 4245,
        QPoint(4035, 4500), Colour{192, 255, 192}, Font{PGothic, 12},
        {
            {u"Label1"_s, Label, u"　身長・体重を入力してください。"_s, 360, 120, 3615, 255, 0, Font{PGothic, 12, true}, Colour{192, 255, 192}, Colour{255, 128, 0}, NoSettings, 0, {}, {}},
            {u"Label2"_s, Label, u"身長"_s, 600, 600, 735, 375, 1, Font{PGothic, 15.75}, Colour{192, 255, 192}, {}, NoSettings, 0, {}, {}},
            {u"Label3"_s, Label, u"体重"_s, 600, 1200, 735, 495, 2, Font{PGothic, 14.25}, Colour{192, 255, 192}, {}, NoSettings, 0, {}, {}},
            {u"Text1"_s, TextBox, {}, 1440, 480, 1095, 495, 3, Font{PGothic, 15.75}, Colour{255, 255, 255}, Colour{0, 0, 255}, MultiLine, 4, {}, u"身長"_s},
            {u"Text2"_s, TextBox, {}, 1440, 1080, 1095, 495, 4, Font{PGothic, 14.25}, {}, Colour{0, 0, 255}, MultiLine, 2, {}, u"体重"_s},
            {u"Label4"_s, Label, u"cme  3桁で"_s, 2760, 720, 1095, 255, 5, Font{PGothic, 9}, Colour{192, 255, 192}, {}, NoSettings, 0, {}, {}},
            {u"Label5"_s, Label, u"Kg　　2桁で"_s, 2760, 1440, 975, 255, 6, Font{PGothic, 9}, Colour{192, 255, 192}, {}, NoSettings, 0, {}, {}},
            {u"Command1"_s, Button, u"計算"_s, 3960, 480, 1335, 1215, 7, Font{PGothic, 18, true}, Colour{192, 192, 192}, {}, NoSettings, 0, {}, {}},
            {u"Label6"_s, Label, u"標準体重"_s, 4080, 2640, 1455, 375, 8, Font{PGothic, 14.25}, Colour{192, 255, 192}, Colour{0, 0, 255}, NoSettings, 0, {}, {}},
            {u"Label7"_s, Label, u"Kg"_s, 6840, 2520, 495, 375, 9, Font{PGothic, 15.75}, Colour{192, 255, 192}, {}, NoSettings, 0, {}, {}},
            {u"Label8"_s, Label, u"BMI　指数"_s, 4200, 3480, 1455, 375, 10, Font{PGothic, 14.25}, Colour{192, 255, 192}, Colour{0, 0, 255}, NoSettings, 0, {}, {}},
            {u"Picture2"_s, Picture, {}, 5640, 3480, 1095, 375, 11, Font{PGothic, 14.25}, Colour{255, 255, 192}, {}, NoSettings, 0, {}, u"BMI　指数"_s},
            {u"Picture1"_s, Picture, {}, 5640, 2640, 1095, 375, 12, Font{PGothic, 14.25}, Colour{255, 255, 192}, {}, NoSettings, 0, {}, u"標準体重"_s},
            {u"Command2"_s, Button, u"処方menuへ"_s, 5760, 480, 1455, 1215, 13, Font{PGothic, 12, true, true}, Colour{192, 192, 192}, {}, NoSettings, 0, {}, {}},
            {u"Image1"_s, Image, {}, 1320, 2040, 1215, 1305, -1, {}, {}, {}, Stretched, 0, u":/figures/normal.xpm"_s, u"体型の図"_s},
            {u"Image2"_s, Image, {}, 120, 2760, 1095, 1260, -1, {}, {}, {}, Hidden, 0, u":/figures/heavy.xpm"_s, {}},
            {u"Image3"_s, Image, {}, 2640, 2880, 1095, 1260, -1, {}, {}, {}, Hidden | Stretched, 0, u":/figures/thin.xpm"_s, {}},
        },
    };
    return window;
}
// clang-format on

} // namespace layout
