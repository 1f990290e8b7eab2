// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"

#include <QCommandLineParser>

namespace {

struct QtOption {
    const char16_t* name;
    const char16_t* value; // nullptr for a switch
    const char16_t* description;
};

// The options QApplication takes off the command line itself. Known here so
// they are not refused, and listed by --help-all.
constexpr QtOption qtOptions[] = {
    {u"platform", u"名前[:設定]", u"ウィンドウシステムのプラグイン（xcb、wayland、offscreen など）"},
    {u"platformpluginpath", u"フォルダ", u"プラットフォームのプラグインを探すフォルダ"},
    {u"platformtheme", u"テーマ", u"プラットフォームのテーマ"},
    {u"plugin", u"プラグイン", u"ほかに読み込むプラグイン"},
    {u"qwindowgeometry", u"位置と大きさ", u"最初のウィンドウの位置と大きさ"},
    {u"qwindowicon", u"アイコン", u"ウィンドウのアイコン"},
    {u"qwindowtitle", u"題名", u"最初のウィンドウの題名"},
    {u"session", u"セッション", u"復元するセッション"},
    {u"display", u"ホスト:画面", u"X11 のディスプレイ"},
    {u"geometry", u"位置と大きさ", u"X11 での最初のウィンドウの位置と大きさ"},
    {u"name", u"名前", u"X11 でのプログラムの名前"},
    {u"visual", u"ビジュアル", u"X11 のビジュアル"},
    {u"style", u"スタイル", u"画面のスタイル（Fusion など）"},
    {u"stylesheet", u"ファイル", u"スタイルシートのファイル"},
    {u"qmljsdebugger", u"設定", u"QML のデバッガ"},
    {u"reverse", nullptr, u"画面を右から左に並べる（確かめるため）"},
    {u"widgetcount", nullptr, u"終わるときに残ったウィジェットの数を出す（確かめるため）"},
};

const QString helpName = QStringLiteral("help");
const QString helpAllName = QStringLiteral("help-all");
const QString versionName = QStringLiteral("version");

// Columns on a terminal: the Japanese characters take two.
qsizetype displayWidth(const QString& text) {
    qsizetype width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2e80 ? 2 : 1;
    return width;
}

QString optionLines(const QList<std::pair<QString, QString>>& options) {
    qsizetype column = 0;
    for (const auto& [left, right] : options)
        column = std::max(column, displayWidth(left));
    QString lines;
    for (const auto& [left, right] : options)
        lines += QStringLiteral("  ") + left + QString(column - displayWidth(left) + 2, u' ') + right + u'\n';
    return lines;
}

QString helpText(bool withQtOptions) {
    QString text = QStringLiteral(
        "使い方: yomorisu [オプション]\n"
        "\n"
        "ヨモリス: 食事と運動のカロリー、標準体重と BMI、病気の文献を扱う健康指導プログラム。\n"
        "表のファイル rmr.csv と 定食.csv は文書フォルダから読みます。\n"
        "\n"
        "オプション:\n");
    text += optionLines({
        {QStringLiteral("-h, --help"), QStringLiteral("この説明を出して終わります。")},
        {QStringLiteral("--help-all"), QStringLiteral("Qt のオプションも含めた説明を出して終わります。")},
        {QStringLiteral("-v, --version"), QStringLiteral("版を出して終わります。")},
    });
    if (!withQtOptions)
        return text;
    QList<std::pair<QString, QString>> options;
    for (const QtOption& option : qtOptions) {
        QString left = u'-' + QString::fromUtf16(option.name);
        if (option.value)
            left += u' ' + QString::fromUtf16(option.value);
        options.append({left, QString::fromUtf16(option.description)});
    }
    return text + QStringLiteral("\nQt のオプション:\n") + optionLines(options);
}

// The argument as the user typed it, for the message.
QString typed(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments) {
        const QString bare = argument.startsWith(QLatin1String("--")) ? argument.mid(2) : argument.mid(1);
        if (argument.startsWith(u'-') && bare.section(u'=', 0, 0) == name)
            return argument;
    }
    return name;
}

} // namespace

std::optional<CommandLineAnswer> answerCommandLine(const QStringList& arguments, const QString& version) {
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -reverse); read as
    // bundles of letters, -reverse would hold a -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), helpName}));
    parser.addOption(QCommandLineOption(helpAllName));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("v"), versionName}));
    for (const QtOption& option : qtOptions) {
        const QString name = QString::fromUtf16(option.name);
        parser.addOption(option.value ? QCommandLineOption(name, {}, name) : QCommandLineOption(name));
    }

    const QString refer = QStringLiteral("「yomorisu --help」でオプションの一覧が出ます。\n");
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty())
            return CommandLineAnswer{
                1, {}, QStringLiteral("yomorisu: オプションの値がありません。\n") + refer};
        return CommandLineAnswer{
            1,
            {},
            QStringLiteral("yomorisu: 知らないオプションです: %1\n").arg(typed(arguments, unknown.first())) +
                refer};
    }
    if (parser.isSet(helpAllName) || parser.isSet(helpName))
        return CommandLineAnswer{0, helpText(parser.isSet(helpAllName)), {}};
    if (parser.isSet(versionName))
        return CommandLineAnswer{0, QStringLiteral("yomorisu %1\n").arg(version), {}};
    return std::nullopt;
}
