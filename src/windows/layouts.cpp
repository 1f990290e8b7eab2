#include "windows/layout.h"

// Rows are in tab order; images and the file dialog, which take no focus,
// come last. Captions keep their full-width spaces exactly.
// Window: name, caption, client width and height; client position on screen
// (none: the system places it), background, font.
// Controls: name, kind, caption, left, top, width, height, tab, font,
// background, text colour, settings, maximum length, picture, accessible name.
// Positions and sizes are twips.

using namespace Qt::StringLiterals;

namespace layout {

namespace {

// The designer's three Japanese faces; the builder maps them to installed fonts.
const QString PGothic = u"ＭＳ Ｐゴシック"_s;
const QString PMincho = u"ＭＳ Ｐ明朝"_s;
const QString Mincho = u"ＭＳ 明朝"_s;

constexpr auto Button = ControlKind::CommandButton;
constexpr auto Label = ControlKind::Label;
constexpr auto TextBox = ControlKind::TextBox;
constexpr auto Picture = ControlKind::PictureArea;
constexpr auto Image = ControlKind::Image;
constexpr auto FileDialog = ControlKind::FileDialog;

} // namespace

const Control* Window::control(const QString& controlName) const {
    for (const Control& c : controls) {
        if (c.name == controlName)
            return &c;
    }
    return nullptr;
}

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
