// SPDX-License-Identifier: MIT
// The command line as the program reads it before any window exists: what
// it answers at once, what it runs with, what it refuses, and whether there
// is a display for the sign.

#include "CommandLine.h"
#include "Launch.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void displayAvailable_data();
    void displayAvailable();
};

void TestCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the program's name
    QTest::addColumn<int>("exitStatus");        // -1: runs
    QTest::addColumn<QString>("printed");       // part of the output or error
    QTest::addColumn<QString>("directory");
    QTest::addColumn<bool>("user");

    QTest::newRow("nothing") << QStringList{} << -1 << QString() << QString() << false;
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << u"Usage: velmora"_s << QString()
                            << false;
    QTest::newRow("-h") << QStringList{u"-h"_s} << 0 << u"--directory <dir>"_s << QString()
                        << false;
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << u"velmora 1."_s << QString()
                               << false;
    QTest::newRow("-C DIR") << QStringList{u"-C"_s, u"/srv/sign"_s} << -1 << QString()
                            << u"/srv/sign"_s << false;
    QTest::newRow("--directory=DIR") << QStringList{u"--directory=/srv/サイン"_s} << -1 << QString()
                                     << u"/srv/サイン"_s << false;
    QTest::newRow("--user") << QStringList{u"--user"_s} << -1 << QString() << QString() << true;
    QTest::newRow("--set-message with -C")
        << QStringList{u"-C"_s, u"/srv/sign"_s, u"--set-message"_s, u"12:00 会議"_s} << -1
        << QString() << u"/srv/sign"_s << false;
    // Why: Qt's own options are QApplication's, not unknown ones.
    QTest::newRow("Qt's -platform and -reverse")
        << QStringList{u"-platform"_s, u"offscreen"_s, u"-reverse"_s} << -1 << QString()
        << QString() << false;
    QTest::newRow("unknown option")
        << QStringList{u"--bogus"_s} << 2 << u"bogus"_s << QString() << false;
    QTest::newRow("stray argument")
        << QStringList{u"Velmora.ini"_s} << 2 << u"Velmora.ini"_s << QString() << false;
    QTest::newRow("-C without a directory")
        << QStringList{u"-C"_s} << 2 << u"-C"_s << QString() << false;
    QTest::newRow("both directories")
        << QStringList{u"--user"_s, u"-C"_s, u"/x"_s} << 2 << u"together"_s << QString() << false;
}

void TestCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitStatus);
    QFETCH(QString, printed);
    QFETCH(QString, directory);
    QFETCH(bool, user);

    const CommandLine::Result result = CommandLine::parse(QStringList{u"velmora"_s} + arguments);
    QCOMPARE(result.exitStatus.value_or(-1), exitStatus);
    const QString shown = exitStatus == 2 ? result.error : result.output;
    QVERIFY2(shown.contains(printed), qPrintable(shown));
    if (exitStatus == 2) // one line, naming the program
        QVERIFY(result.error.startsWith(u"velmora: "_s) && !result.error.contains(u'\n'));
    QCOMPARE(result.directory, directory);
    QCOMPARE(result.user, user);
    QCOMPARE(result.message.has_value(), arguments.contains(u"--set-message"_s));
    if (result.message)
        QCOMPARE(*result.message, arguments.last());
}

void TestCommandLine::displayAvailable_data()
{
    // Each variable's value; a null string: not set.
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("waylandDisplay");
    QTest::addColumn<QString>("platform"); // QT_QPA_PLATFORM
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("available");

    const QString unset;
    QTest::newRow("X11") << u":0"_s << unset << unset << QStringList{} << true;
    QTest::newRow("Wayland") << unset << u"wayland-0"_s << unset << QStringList{} << true;
    QTest::newRow("QT_QPA_PLATFORM") << unset << unset << u"offscreen"_s << QStringList{} << true;
    QTest::newRow("nothing") << unset << unset << unset << QStringList{} << false;
    // Why: Qt takes an empty DISPLAY as none and aborts just the same.
    QTest::newRow("all empty") << u""_s << u""_s << u""_s << QStringList{} << false;
    // Why: Qt's own options choose a display without any variable; they must
    // not be refused.
    QTest::newRow("-platform") << unset << unset << unset
                               << QStringList{u"-platform"_s, u"offscreen"_s} << true;
    QTest::newRow("-display") << unset << unset << unset << QStringList{u"-display"_s, u":3"_s}
                              << true;
}

void TestCommandLine::displayAvailable()
{
    QFETCH(QString, display);
    QFETCH(QString, waylandDisplay);
    QFETCH(QString, platform);
    QFETCH(QStringList, arguments);
    QFETCH(bool, available);

    const std::pair<const char *, QString> variables[] = {
        {"DISPLAY", display}, {"WAYLAND_DISPLAY", waylandDisplay}, {"QT_QPA_PLATFORM", platform}};
    for (const auto &[name, value] : variables) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    const CommandLine::Result result = CommandLine::parse(QStringList{u"velmora"_s} + arguments);
    QVERIFY(!result.exitStatus);
    QCOMPARE(Launch::displayAvailable(result), available);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
