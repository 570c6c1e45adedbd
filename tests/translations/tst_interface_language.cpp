// SPDX-License-Identifier: MIT
// The language the windows speak, chosen from the environment as the program
// chooses it at start-up. Each row runs this executable again with the row's
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG (and none of the caller's), where
// it installs the translations, makes the sign and both dialogs offscreen,
// lets the sign fail to start in an empty directory and prints what they
// show; the row compares that with the designed Japanese or the English.

#include "Frm_Main.h"
#include "Frm_Setup.h"
#include "Frm_Version.h"
#include "InterfaceLanguage.h"
#include "MsgBox.h"
#include "Program.h"
#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

using Captions = QMap<QString, QString>;

const QString PrintCaptions = u"--print-captions"_s;
const QStringList LocaleVariables{u"LANGUAGE"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG"_s};

// What a user sees of each, in the designed Japanese and in English. The
// text box's context menu is Qt's own, from Qt's translations.
const Captions Japanese{
    {u"setup"_s, u"設定画面"_s},
    {u"tabs"_s, u"文字|速度|色|表示"_s},
    {u"setup buttons"_s, u"ＯＫ|キャンセル"_s},
    {u"text box menu"_s, u"元に戻す(&U)"_s},
    {u"version"_s, u"バージョン情報"_s},
    {u"version button"_s, u"ＯＫ"_s},
    {u"menu"_s, u"設定|-|バージョン情報|-|終了"_s},
    {u"error box"_s, u"エラーメッセージ|起動することができません"_s},
    {u"how to start"_s, u"自分の電光掲示板は「velmora --user」で、別のディレクトリの電光掲示板は"
                        u"「velmora -C ディレクトリ」で起動します。詳しくは「man velmora」を"
                        u"ご覧ください。"_s},
};
const Captions English{
    {u"setup"_s, u"Settings"_s},
    {u"tabs"_s, u"Message|Speed|Colours|Display"_s},
    {u"setup buttons"_s, u"OK|Cancel"_s},
    {u"text box menu"_s, u"&Undo"_s},
    {u"version"_s, u"About Velmora"_s},
    {u"version button"_s, u"OK"_s},
    {u"menu"_s, u"Settings|-|About Velmora|-|Quit"_s},
    {u"error box"_s, u"Error|Velmora cannot start."_s},
    {u"how to start"_s, u"Start your own sign with “velmora --user”, or a sign in another "
                        u"directory with “velmora -C DIR”. “man velmora” tells more."_s},
};

QString buttonText(const QWidget &form, const char *name)
{
    const auto *button = form.findChild<QPushButton *>(QString::fromLatin1(name));
    return button ? button->text() : u"(no %1)"_s.arg(QString::fromLatin1(name));
}

// The child's part: the translations installed as at start-up, then what the
// windows show, one "name<TAB>text" line each.
int printCaptions(int argc, char *argv[])
{
    QApplication app(argc, argv);
    designed::installTranslations();
    runtime::prepareApplication();
    runtime::setQuitOnEnd(false);
    Captions seen;
    runtime::setMessageBoxPresenter(
        [&seen](const QString &prompt, int, const QString &title, const QString &detail) {
            seen[u"error box"_s] = title % u'|' % prompt;
            seen[u"how to start"_s] = detail.section(u'\n', -1);
        });

    {
        Frm_Setup setup;
        seen[u"setup"_s] = setup.windowTitle();
        QStringList tabs;
        if (const auto *strip = setup.findChild<QTabBar *>())
            for (int i = 0; i < strip->count(); ++i)
                tabs << strip->tabText(i);
        seen[u"tabs"_s] = tabs.join(u'|');
        seen[u"setup buttons"_s] =
            buttonText(setup, "Cmd_Ok") % u'|' % buttonText(setup, "Cmd_Cansel");
        if (auto *box = setup.findChild<QLineEdit *>(u"Txt_Data"_s)) {
            const std::unique_ptr<QMenu> menu(box->createStandardContextMenu());
            seen[u"text box menu"_s] = menu->actions().value(0)->text().section(u'\t', 0, 0);
        }
    }
    {
        Frm_Version version;
        seen[u"version"_s] = version.windowTitle();
        seen[u"version button"_s] = buttonText(version, "Cmd_Ok");
    }
    // Loading the sign in an empty directory fails, with the error box.
    QTemporaryDir empty;
    QDir::setCurrent(empty.path());
    Frm_Main sign;
    seen[u"menu"_s] = sign.Menu.itemCaptions().join(u'|');
    sign.Load();

    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        const QString line = it.key() % u'\t' % it.value() % u'\n';
        std::fputs(line.toUtf8().constData(), stdout);
    }
    return 0;
}

} // namespace

class TestInterfaceLanguage : public QObject
{
    Q_OBJECT

private slots:
    void captionsFollowTheEnvironment_data();
    void captionsFollowTheEnvironment();
};

void TestInterfaceLanguage::captionsFollowTheEnvironment_data()
{
    QTest::addColumn<QString>("language"); // LANGUAGE; empty: not set
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<Captions>("expected");

    const QString none;
    // Why: without any locale the interface is the designed one, not the fallback.
    QTest::newRow("no locale at all") << none << none << none << none << Japanese;
    QTest::newRow("LANG=C") << none << none << none << u"C"_s << Japanese;
    QTest::newRow("LC_ALL=C.UTF-8") << none << u"C.UTF-8"_s << none << none << Japanese;
    QTest::newRow("LANG=ja_JP.UTF-8") << none << none << none << u"ja_JP.UTF-8"_s << Japanese;
    QTest::newRow("LANG=en_US.UTF-8") << none << none << none << u"en_US.UTF-8"_s << English;
    QTest::newRow("LANG=fr_FR.UTF-8, no French")
        << none << none << none << u"fr_FR.UTF-8"_s << English;
    // Why: Qt also lists "C" after a language it does not know; that is not
    // the C locale.
    QTest::newRow("LANG=xx_YY.UTF-8, unknown")
        << none << none << none << u"xx_YY.UTF-8"_s << English;
    QTest::newRow("LC_ALL over LANG")
        << none << u"ja_JP.UTF-8"_s << none << u"en_US.UTF-8"_s << Japanese;
    QTest::newRow("LC_MESSAGES over LANG")
        << none << none << u"en_US.UTF-8"_s << u"ja_JP.UTF-8"_s << English;
    QTest::newRow("LC_ALL over LC_MESSAGES")
        << none << u"C.UTF-8"_s << u"en_US.UTF-8"_s << none << Japanese;
    QTest::newRow("LANGUAGE=ja over LANG=en")
        << u"ja"_s << none << none << u"en_US.UTF-8"_s << Japanese;
    QTest::newRow("LANGUAGE=en over LC_ALL=C.UTF-8")
        << u"en"_s << u"C.UTF-8"_s << none << none << English;
    QTest::newRow("LANGUAGE=fr:ja, first with a translation")
        << u"fr:ja"_s << none << none << u"en_US.UTF-8"_s << Japanese;
    QTest::newRow("LANGUAGE=de:en_GB, first with a translation")
        << u"de:en_GB"_s << none << none << u"ja_JP.UTF-8"_s << English;
    QTest::newRow("LANGUAGE=de alone, no German")
        << u"de"_s << none << none << u"ja_JP.UTF-8"_s << English;
    QTest::newRow("LANGUAGE empty, LANG=en")
        << u""_s << none << none << u"en_US.UTF-8"_s << English;
}

void TestInterfaceLanguage::captionsFollowTheEnvironment()
{
    QFETCH(QString, language);
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(Captions, expected);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString values[] = {language, lcAll, lcMessages, lang};
    for (qsizetype i = 0; i < LocaleVariables.size(); ++i) {
        environment.remove(LocaleVariables[i]);
        if (!values[i].isNull())
            environment.insert(LocaleVariables[i], values[i]);
    }
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {PrintCaptions});
    QVERIFY2(child.waitForFinished(30000), "the child did not finish");
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);

    Captions seen;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines)
        if (!line.isEmpty())
            seen[line.section(u'\t', 0, 0)] = line.section(u'\t', 1);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(seen.value(it.key(), u"(not shown)"_s), it.value());
}

int main(int argc, char *argv[])
{
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == PrintCaptions)
        return printCaptions(argc, argv);
    QApplication app(argc, argv);
    TestInterfaceLanguage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_interface_language.moc"
