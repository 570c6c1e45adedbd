// SPDX-License-Identifier: MIT
// What the program prints on standard error: every layer's lines as
// "velmora: what happened", debug lines only where QT_LOGGING_RULES turns
// them on, and anything else left to the handler that was there before.

#include "AppLog.h"
#include "FollowLog.h"
#include "StorageLog.h"
#include "UiLog.h"

#include <QFile>
#include <QHash>
#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <functional>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

// Categories that are not the program's: Qt's own, and one whose name only
// begins with the same letters.
Q_LOGGING_CATEGORY(lcQtOwn, "qt.velmora.check")
Q_LOGGING_CATEGORY(lcLookalike, "velmorax")

namespace {

using Category = const QLoggingCategory &(*)();

Category categoryNamed(const QString &name)
{
    static const QHash<QString, Category> categories{
        {u"storage"_s, lcStorage}, {u"ui"_s, lcUi},    {u"follow"_s, lcFollow},
        {u"app"_s, lcApp},         {u"qt"_s, lcQtOwn}, {u"lookalike"_s, lcLookalike},
    };
    return categories.value(name);
}

QStringList passedOn;

void keep(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    passedOn << QString::fromLatin1(context.category) + u" | "_s + message;
}

// What `log` writes on standard error, with the program's output installed
// over `keep`; the test's own handler is back when it returns.
QByteArray standardErrorOf(const std::function<void()> &log)
{
    QTemporaryFile file;
    if (!file.open())
        return "cannot capture standard error";
    std::fflush(stderr);
    const int saved = ::dup(STDERR_FILENO);
    ::dup2(file.handle(), STDERR_FILENO);
    const QtMessageHandler testsOwn = qInstallMessageHandler(keep);
    AppLog::installOutput();
    log();
    qInstallMessageHandler(testsOwn);
    std::fflush(stderr);
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    QFile written(file.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

} // namespace

class TestLogOutput : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QLoggingCategory::setFilterRules(QString());
        passedOn.clear();
    }

    void lines_data()
    {
        QTest::addColumn<QString>("rules"); // as in QT_LOGGING_RULES
        QTest::addColumn<QString>("category");
        QTest::addColumn<bool>("debug"); // a debug line, else a warning
        QTest::addColumn<QByteArray>("printed");
        QTest::addColumn<QStringList>("passed"); // to the handler before

        const QByteArray line = "velmora: cannot read Velmora.ini: line 2\n"_ba;
        // Why: every layer's failures read alike, whichever layer logged them.
        for (const char *layer : {"storage", "ui", "follow", "app"})
            QTest::addRow("%s warning", layer)
                << QString() << QString::fromLatin1(layer) << false << line << QStringList();
        // Why: debug lines are for whoever asks for them, not for every run.
        QTest::newRow("follow debug, no rule")
            << QString() << u"follow"_s << true << QByteArray() << QStringList();
        QTest::newRow("follow debug, its rule on")
            << u"velmora.follow.debug=true"_s << u"follow"_s << true << line << QStringList();
        QTest::newRow("ui debug, only the follower's rule on")
            << u"velmora.follow.debug=true"_s << u"ui"_s << true << QByteArray() << QStringList();
        QTest::newRow("storage debug, all the program's on")
            << u"velmora.*.debug=true"_s << u"storage"_s << true << line << QStringList();
        QTest::newRow("warnings turned off")
            << u"velmora.ui.warning=false"_s << u"ui"_s << false << QByteArray() << QStringList();
        // Why: Qt's own warnings keep Qt's format, category name and all.
        QTest::newRow("Qt's category")
            << QString() << u"qt"_s << false << QByteArray()
            << QStringList{u"qt.velmora.check | cannot read Velmora.ini: line 2"_s};
        QTest::newRow("a name that only begins like the program's")
            << QString() << u"lookalike"_s << false << QByteArray()
            << QStringList{u"velmorax | cannot read Velmora.ini: line 2"_s};
        QTest::newRow("no category") << QString() << QString() << false << QByteArray()
                                     << QStringList{u"default | cannot read Velmora.ini: line 2"_s};
    }

    void lines()
    {
        QFETCH(QString, rules);
        QFETCH(QString, category);
        QFETCH(bool, debug);
        QFETCH(QByteArray, printed);
        QFETCH(QStringList, passed);

        QLoggingCategory::setFilterRules(rules);
        const Category chosen = categoryNamed(category);
        const QByteArray written = standardErrorOf([&] {
            if (!chosen)
                qWarning("cannot read %s: line %d", "Velmora.ini", 2);
            else if (debug)
                qCDebug(chosen, "cannot read %s: line %d", "Velmora.ini", 2);
            else
                qCWarning(chosen, "cannot read %s: line %d", "Velmora.ini", 2);
        });
        QCOMPARE(written, printed);
        QCOMPARE(passedOn, passed);
    }
};

QTEST_GUILESS_MAIN(TestLogOutput)
#include "tst_log_output.moc"
