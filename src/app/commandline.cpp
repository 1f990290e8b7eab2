#include "app/commandline.h"

#include <QCommandLineParser>

void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral(
        "ヨモリス: 食事と運動のカロリー、標準体重と BMI、病気の文献を扱う健康指導プログラム。\n"
        "表のファイル rmr.csv と 定食.csv は文書フォルダから読みます。"));
    // Qt's own options are single-dash words (-platform, -reverse); read as
    // bundles of letters, -reverse would hold a -v.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
}

bool asksOnlyForInformation(const QStringList& arguments) {
    QCommandLineParser parser;
    describeCommandLine(parser);
    // Qt's options are unknown here and make parse() fail; what it did
    // recognise still counts.
    parser.parse(arguments);
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
           parser.isSet(QStringLiteral("version"));
}
