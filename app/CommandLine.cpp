// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <QCommandLineParser>

namespace {

// Qt's own options, taken by QApplication: they are accepted (and not shown in
// the help) so that the program's parser does not call them unknown.
QList<QCommandLineOption> qtOptions()
{
    QList<QCommandLineOption> options;
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "geometry", "style",
                             "stylesheet", "session", "name", "title", "visual"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options << option;
    }
    for (const char *name : {"reverse", "widgetcount", "sync", "nograb", "dograb"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        options << option;
    }
    return options;
}

} // namespace

CommandLine::Result CommandLine::parse(const QStringList &arguments)
{
    QCommandLineParser parser;
    // Qt's options have one dash and whole-word names ("-platform").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "A scrolling message sign. It reads Velmora.ini in its directory and Velmora.txt in the "
        "directory that file names, and shows the message moving from right to left."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and end."));
    const QCommandLineOption directory(
        {QStringLiteral("C"), QStringLiteral("directory")},
        QStringLiteral("Run as if started in <dir>: its Velmora.ini is read and written."),
        QStringLiteral("dir"));
    const QCommandLineOption user(
        QStringLiteral("user"),
        QStringLiteral("Run in the user's own directory ($XDG_CONFIG_HOME/velmora), which is "
                       "created with the example files the first time."));
    const QCommandLineOption message(
        QStringLiteral("set-message"),
        QStringLiteral("Store <text> as the message (in the directory chosen as for the sign) "
                       "and end; a running sign there shows it."),
        QStringLiteral("text"));
    parser.addOptions({help, version, directory, user, message});
    parser.addOptions(qtOptions());

    Result result;
    if (!parser.parse(arguments)) {
        result.exitStatus = 2;
        result.error = QStringLiteral("velmora: ") + parser.errorText() +
                       QStringLiteral(" (see velmora --help)");
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.exitStatus = 2;
        result.error = QStringLiteral("velmora: unexpected argument '") +
                       parser.positionalArguments().constFirst() +
                       QStringLiteral("' (see velmora --help)");
        return result;
    }
    if (parser.isSet(help)) {
        result.exitStatus = 0;
        // The parser names the program after the application object, which
        // does not exist yet: the usage line is the program's own.
        const QString text = parser.helpText();
        result.output = QStringLiteral("Usage: velmora [options]") + text.mid(text.indexOf(u'\n'));
        return result;
    }
    if (parser.isSet(version)) {
        result.exitStatus = 0;
        result.output = QStringLiteral("velmora " VELMORA_VERSION "\n");
        return result;
    }
    if (parser.isSet(directory) && parser.isSet(user)) {
        result.exitStatus = 2;
        result.error = QStringLiteral("velmora: --directory and --user cannot be used together");
        return result;
    }
    result.directory = parser.value(directory);
    result.user = parser.isSet(user);
    if (parser.isSet(message))
        result.message = parser.value(message);
    result.platformChosen =
        parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display"));
    return result;
}
