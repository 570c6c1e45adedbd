// Ini_Read, Ini_Write, Data_Read and Data_Write against real files: the bytes
// written, what a read gives back (and what it leaves alone when it fails),
// how the paths are joined, and that a failed save keeps the previous file.
// Every test runs in its own temporary directory, which is also the current
// directory, under the build tree (not /tmp, which may be a tmpfs where
// chattr does not work).

#include "Bas_Comm.h"
#include "Cp932.h"
#include "CurDir.h"
#include "RuntimeError.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using Bas_Comm::SignSettings;

namespace {

const QByteArray Sample = "1200\r\n600\r\n6000\r\n600\r\n3000\r\n65280\r\n0\r\n\"CurDir\"\r\n"_ba;
// Stands for the current directory in table rows, which are built before the
// test has changed into its own directory.
const QString Cwd = u"$CWD"_s;

// The sign window Ini_Write takes its geometry from. On the offscreen platform
// there is no frame, so the outer geometry is the client's; it is never shown.
class TestSignWindow : public Bas_Comm::SignWindow
{
public:
    void place(float top, float left, float width, float height)
    {
        setTop(top);
        setLeft(left);
        setWidth(width);
        setHeight(height);
    }
};

// Undoes a change made to the system (an immutable flag, a mount) when the
// test function is left, passed or failed.
struct Undo
{
    std::function<void()> undo;
    ~Undo() { undo(); }
};

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The file's bytes; a null array when it does not exist.
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

QList<qint64> numbers()
{
    const auto &s = SignSettings;
    return {s.Top, s.Left, s.Width, s.Height, s.Speed, s.ForeColor, s.BackColor};
}

QString resolved(QString text)
{
    return text.replace(Cwd, runtime::CurDir());
}

QByteArray cp932(const QString &text)
{
    return runtime::Cp932::encode(text).value();
}

} // namespace

// The four file routines, each test in a fresh current directory with a
// zero-filled SignSettings; the windowed parts of the sign are not involved.
class TestSettingsFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void iniRead_data();
    void iniRead();
    void iniWrite_data();
    void iniWrite();
    void geometryRounding_data();
    void geometryRounding();
    void iniWriteRefused_data();
    void iniWriteRefused();
    void dataRead_data();
    void dataRead();
    void dataWrite_data();
    void dataWrite();
    void dataWriteRefused_data();
    void dataWriteRefused();
    void onlyTheExpectedItemsSurviveASave();
    void dataDirectoryRelativeToCurrent_data();
    void dataDirectoryRelativeToCurrent();
    void pathsAreJoinedAsGiven();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();
    void filesAreClosedOnEveryExit();

private:
    QString file(const QString &name) const { return QDir(runtime::CurDir()).filePath(name); }

    QString m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsFiles::initTestCase()
{
    m_home = QDir::currentPath();
    // Every expected geometry below is a whole number of pixels at 96 dpi.
    QCOMPARE(runtime::twipsPerPixel(), 15.0);
}

void TestSettingsFiles::init()
{
    SignSettings = {};
    m_dir = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath() +
                                            u"/settingsfiles-XXXXXX"_s);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestSettingsFiles::cleanup()
{
    QDir::setCurrent(m_home);
    m_dir.reset();
}

void TestSettingsFiles::iniRead_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QList<qint64>>("numbers"); // Top Left Width Height Speed ForeColor BackColor
    QTest::addColumn<QString>("dataDir");

    // Before each read the record holds these; a failed read keeps what it
    // had not reached yet.
    const QList<qint64> old{11, 22, 33, 44, 55, 66, 77};
    const QList<qint64> sample{1200, 600, 6000, 600, 3000, 65280, 0};

    QTest::newRow("sample") << Sample << true << sample << Cwd;
    QTest::newRow("one line, commas, directory unquoted")
        << "1200,600,6000,600,3000,65280,0,CurDir\r\n"_ba << true << sample << Cwd;
    QTest::newRow("blanks around items")
        << " 1200 ,\t600\t,6000\r\n  600\r\n3000,65280 ,0, \"CurDir\" \r\n"_ba << true << sample
        << Cwd;
    QTest::newRow("lines after the eighth ignored")
        << Sample + "junk\r\n+1\r\n\"more\"\r\n"_ba << true << sample << Cwd;
    QTest::newRow("height 0 becomes 1, width 0 stays")
        << "1\r\n2\r\n0\r\n0\r\n5\r\n6\r\n7\r\n\"d\"\r\n"_ba << true
        << QList<qint64>{1, 2, 0, 1, 5, 6, 7} << u"d"_s;
    QTest::newRow("negative and extreme values")
        << "-120\r\n-32768\r\n32767\r\n15\r\n-1\r\n-2147483643\r\n2147483647\r\n\"x\"\r\n"_ba
        << true << QList<qint64>{-120, -32768, 32767, 15, -1, -2147483643LL, 2147483647LL}
        << u"x"_s;
    // Why: only the exact spelling is the sentinel; other cases are directories.
    QTest::newRow("lower-case curdir") << "1,2,3,4,5,6,7,\"curdir\"\r\n"_ba << true
                                       << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << u"curdir"_s;
    QTest::newRow("upper-case CURDIR") << "1,2,3,4,5,6,7,CURDIR\r\n"_ba << true
                                       << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << u"CURDIR"_s;
    QTest::newRow("empty directory")
        << "1,2,3,4,5,6,7,\"\"\r\n"_ba << true << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << QString();
    QTest::newRow("japanese directory with commas")
        << "1,2,3,4,5,6,7,\""_ba + cp932(u"/srv/表示,ソ/データ"_s) + "\"\r\n"_ba << true
        << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << u"/srv/表示,ソ/データ"_s;

    QTest::newRow("missing file") << QByteArray() << false << old << u"old"_s;
    QTest::newRow("seven items") << "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n"_ba << false
                                 << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << u"old"_s;
    QTest::newRow("fraction on line 3") << "1,2,3.5,4,5,6,7,d\r\n"_ba << false
                                        << QList<qint64>{1, 2, 33, 44, 55, 66, 77} << u"old"_s;
    QTest::newRow("blank line 4") << "1\r\n2\r\n3\r\n\r\n5\r\n6\r\n7\r\nd\r\n"_ba << false
                                  << QList<qint64>{1, 2, 3, 44, 55, 66, 77} << u"old"_s;
    QTest::newRow("top above 16 bits") << "32768,2,3,4,5,6,7,d\r\n"_ba << false << old << u"old"_s;
    QTest::newRow("colour above 32 bits") << "1,2,3,4,5,6,2147483648,d\r\n"_ba << false
                                          << QList<qint64>{1, 2, 3, 4, 5, 6, 77} << u"old"_s;
    // Why: the height fix-up belongs to a successful read only.
    QTest::newRow("height 0 then a bad speed")
        << "1,2,3,0,x,6,7,d\r\n"_ba << false << QList<qint64>{1, 2, 3, 0, 55, 66, 77} << u"old"_s;
    QTest::newRow("directory not shift-jis") << "1,2,3,4,5,6,7,\"\x85\x40\"\r\n"_ba << false
                                             << QList<qint64>{1, 2, 3, 4, 5, 6, 7} << u"old"_s;
}

void TestSettingsFiles::iniRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QList<qint64>, numbers);
    QFETCH(QString, dataDir);

    if (!bytes.isNull())
        QVERIFY(writeFile(file(Bas_Comm::SettingsFileName), bytes));
    SignSettings = {55, 33, 44, 11, 22, u"old"_s, u"message"_s, 66, 77};

    QCOMPARE(Bas_Comm::Ini_Read(), ok);
    QCOMPARE(::numbers(), numbers);
    QCOMPARE(SignSettings.DataDir, resolved(dataDir));
    QCOMPARE(SignSettings.DataText, u"message"_s);
    if (!ok)
        QVERIFY(!Bas_Comm::lastFileError().isEmpty());
}

void TestSettingsFiles::iniWrite_data()
{
    QTest::addColumn<QList<qint64>>("values"); // Top Left Width Height Speed ForeColor BackColor
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<QByteArray>("expected"); // $CWD stands for the current directory

    QTest::newRow("sample") << QList<qint64>{1200, 600, 6000, 600, 3000, 65280, 0} << Cwd << Sample;
    QTest::newRow("off screen, system colour")
        << QList<qint64>{-120, -75, 30, 15, -5, qint32(0x80000005), 0x00FF00FF} << Cwd
        << "-120\r\n-75\r\n30\r\n15\r\n-5\r\n-2147483643\r\n16711935\r\n\"CurDir\"\r\n"_ba;
    // Why: "CurDir" is written only for the exact text the platform reports.
    QTest::newRow("current directory plus separator")
        << QList<qint64>{0, 0, 15, 15, 0, 0, 0} << Cwd + u'/'
        << "0\r\n0\r\n15\r\n15\r\n0\r\n0\r\n0\r\n\"$CWD/\"\r\n"_ba;
    QTest::newRow("relative curdir") << QList<qint64>{0, 0, 15, 15, 0, 0, 0} << u"curdir"_s
                                     << "0\r\n0\r\n15\r\n15\r\n0\r\n0\r\n0\r\n\"curdir\"\r\n"_ba;
    QTest::newRow("japanese with commas")
        << QList<qint64>{0, 0, 15, 15, 0, 0, 0} << u"/srv/表示,ソ/データ"_s
        << "0\r\n0\r\n15\r\n15\r\n0\r\n0\r\n0\r\n\""_ba + cp932(u"/srv/表示,ソ/データ"_s) +
               "\"\r\n"_ba;
    QTest::newRow("empty") << QList<qint64>{0, 0, 15, 15, 0, 0, 0} << QString()
                           << "0\r\n0\r\n15\r\n15\r\n0\r\n0\r\n0\r\n\"\"\r\n"_ba;
}

void TestSettingsFiles::iniWrite()
{
    QFETCH(QList<qint64>, values);
    QFETCH(QString, dataDir);
    QFETCH(QByteArray, expected);

    TestSignWindow window;
    window.place(values[0], values[1], values[2], values[3]);
    // The record's own geometry differs from the window's; the window wins
    // and the record is left alone.
    SignSettings = {qint16(values[4]), 1, 2, 3, 4, resolved(dataDir), u"m"_s, qint32(values[5]),
                    qint32(values[6])};
    const auto before = SignSettings;

    QVERIFY2(Bas_Comm::Ini_Write(), qPrintable(Bas_Comm::lastFileError()));
    QCOMPARE(SignSettings, before);
    QCOMPARE(readFile(file(Bas_Comm::SettingsFileName)),
             expected.replace("$CWD", runtime::CurDir().toUtf8()));
    QCOMPARE(entries(runtime::CurDir()), QStringList{Bas_Comm::SettingsFileName});

    SignSettings = {};
    QVERIFY(Bas_Comm::Ini_Read());
    QCOMPARE(::numbers(), values);
    QCOMPARE(SignSettings.DataDir, resolved(dataDir));
}

void TestSettingsFiles::geometryRounding_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<int>("stored"); // -1000000: cannot be stored

    QTest::newRow("half down to even") << 2.5 << 2;
    QTest::newRow("half up to even") << 3.5 << 4;
    QTest::newRow("negative half") << -2.5 << -2;
    QTest::newRow("just above half") << 2.5001 << 3;
    QTest::newRow("largest") << 32767.4 << 32767;
    QTest::newRow("half above largest rounds out") << 32767.5 << -1000000;
    QTest::newRow("smallest") << -32768.5 << -32768;
    QTest::newRow("below smallest") << -32768.6 << -1000000;
}

void TestSettingsFiles::geometryRounding()
{
    // The offscreen window only has whole pixels, 15 twips each, so the
    // rounding Ini_Write applies to fractional twips is checked on its own.
    QFETCH(double, twips);
    QFETCH(int, stored);

    if (stored == -1000000)
        QVERIFY_THROWS_EXCEPTION(runtime::RuntimeError, runtime::toInt16(twips));
    else
        QCOMPARE(runtime::toInt16(twips), stored);
}

void TestSettingsFiles::iniWriteRefused_data()
{
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("left");
    QTest::addColumn<QString>("dataDir");

    QTest::newRow("left beyond 32767") << 1200.f << 45000.f << Cwd;
    QTest::newRow("top below -32768") << -33000.f << 600.f << Cwd;
    QTest::newRow("directory with a quote") << 1200.f << 600.f << u"/a\"b"_s;
    QTest::newRow("directory without shift-jis form") << 1200.f << 600.f << u"/caf\u00e9"_s;
}

void TestSettingsFiles::iniWriteRefused()
{
    QFETCH(float, top);
    QFETCH(float, left);
    QFETCH(QString, dataDir);

    const QByteArray previous = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n\"CurDir\"\r\n"_ba;
    QVERIFY(writeFile(file(Bas_Comm::SettingsFileName), previous));
    TestSignWindow window;
    window.place(top, left, 6000, 600);
    SignSettings.DataDir = resolved(dataDir);

    QVERIFY(!Bas_Comm::Ini_Write());
    QCOMPARE(readFile(file(Bas_Comm::SettingsFileName)), previous);
    QCOMPARE(entries(runtime::CurDir()), QStringList{Bas_Comm::SettingsFileName});
}

void TestSettingsFiles::dataRead_data()
{
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("text");

    QTest::newRow("hello") << "\"Hello, world\"\r\n"_ba << true << u"Hello, world"_s;
    QTest::newRow("unquoted stops at comma") << "Hello, world\r\n"_ba << true << u"Hello"_s;
    QTest::newRow("empty message") << "\"\"\r\n"_ba << true << QString();
    QTest::newRow("spaces at both ends") << "\"  x  \"\r\n"_ba << true << u"  x  "_s;
    QTest::newRow("several lines") << "\"first\"\r\n\"second\"\r\n"_ba << true << u"first"_s;
    QTest::newRow("several items") << "\"first\",\"second\"\r\n"_ba << true << u"first"_s;
    QTest::newRow("no final line end") << "\"abc\""_ba << true << u"abc"_s;
    QTest::newRow("quote inside") << "\"ab\"cd\"\r\n"_ba << true << u"ab"_s;
    QTest::newRow("unclosed quote") << "\"ab, cd\r\n\"ef\"\r\n"_ba << true << u"ab, cd"_s;
    QTest::newRow("blank first line") << "\r\n\"second\"\r\n"_ba << true << QString();
    QTest::newRow("only a line end") << "\r\n"_ba << true << QString();
    QTest::newRow("japanese") << "\""_ba + cp932(u"ようこそ Velmora へ。ソ表"_s) + "\"\r\n"_ba
                              << true << u"ようこそ Velmora へ。ソ表"_s;
    QTest::newRow("zero bytes") << ""_ba << false << u"kept"_s;
    QTest::newRow("missing file") << QByteArray() << false << u"kept"_s;
    QTest::newRow("not shift-jis") << "\"ab\x82\"\r\n"_ba << false << u"kept"_s;
}

void TestSettingsFiles::dataRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, ok);
    QFETCH(QString, text);

    SignSettings.DataDir = runtime::CurDir();
    SignSettings.DataText = u"kept"_s;
    if (!bytes.isNull())
        QVERIFY(writeFile(file(Bas_Comm::MessageFileName), bytes));

    QCOMPARE(Bas_Comm::Data_Read(), ok);
    QCOMPARE(SignSettings.DataText, text);
}

void TestSettingsFiles::dataWrite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("hello") << u"Hello, world"_s << "\"Hello, world\"\r\n"_ba;
    QTest::newRow("empty") << QString() << "\"\"\r\n"_ba;
    QTest::newRow("spaces at both ends") << u"  a, b  "_s << "\"  a, b  \"\r\n"_ba;
    QTest::newRow("japanese") << u"ソ表よう"_s << "\"\x83\x5c\x95\x5c\x82\xe6\x82\xa4\"\r\n"_ba;
}

void TestSettingsFiles::dataWrite()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    SignSettings.DataDir = runtime::CurDir();
    SignSettings.DataText = text;
    QVERIFY(writeFile(file(Bas_Comm::MessageFileName), "\"a much longer previous message\"\r\n"));

    QVERIFY2(Bas_Comm::Data_Write(), qPrintable(Bas_Comm::lastFileError()));
    QCOMPARE(readFile(file(Bas_Comm::MessageFileName)), expected);
    QCOMPARE(entries(runtime::CurDir()), QStringList{Bas_Comm::MessageFileName});

    SignSettings.DataText = u"other"_s;
    QVERIFY(Bas_Comm::Data_Read());
    QCOMPARE(SignSettings.DataText, text);
}

void TestSettingsFiles::dataWriteRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("double quote") << u"say \"hi\""_s;
    QTest::newRow("wave dash reads back as fullwidth tilde") << u"10\u301c20"_s;
}

void TestSettingsFiles::dataWriteRefused()
{
    QFETCH(QString, text);

    const QByteArray previous = "\"old\"\r\n"_ba;
    QVERIFY(writeFile(file(Bas_Comm::MessageFileName), previous));
    SignSettings.DataDir = runtime::CurDir();
    SignSettings.DataText = text;

    QVERIFY(!Bas_Comm::Data_Write());
    QCOMPARE(readFile(file(Bas_Comm::MessageFileName)), previous);
    QCOMPARE(entries(runtime::CurDir()), QStringList{Bas_Comm::MessageFileName});
    QCOMPARE(SignSettings.DataText, text);
}

void TestSettingsFiles::onlyTheExpectedItemsSurviveASave()
{
    // Why: a save rewrites the whole file, so hand-added lines and extra
    // message items are gone afterwards.
    QVERIFY(writeFile(file(Bas_Comm::SettingsFileName), Sample + "9\r\n\"extra\"\r\n"));
    QVERIFY(writeFile(file(Bas_Comm::MessageFileName), "\"first\",\"second\"\r\n\"third\"\r\n"));
    QVERIFY(Bas_Comm::Ini_Read());
    QVERIFY(Bas_Comm::Data_Read());

    TestSignWindow window;
    window.place(SignSettings.Top, SignSettings.Left, SignSettings.Width, SignSettings.Height);
    QVERIFY(Bas_Comm::Ini_Write());
    QVERIFY(Bas_Comm::Data_Write());
    QCOMPARE(readFile(file(Bas_Comm::SettingsFileName)), Sample);
    QCOMPARE(readFile(file(Bas_Comm::MessageFileName)), "\"first\"\r\n"_ba);
}

void TestSettingsFiles::dataDirectoryRelativeToCurrent_data()
{
    QTest::addColumn<QString>("directory");
    QTest::newRow("relative") << u"data"_s;
    QTest::newRow("lower-case curdir") << u"curdir"_s;
    QTest::newRow("upper-case CURDIR") << u"CURDIR"_s;
}

void TestSettingsFiles::dataDirectoryRelativeToCurrent()
{
    QFETCH(QString, directory);

    QVERIFY(QDir().mkdir(directory));
    QVERIFY(writeFile(file(Bas_Comm::SettingsFileName),
                      "1,2,3,4,5,6,7,\""_ba + directory.toLatin1() + "\"\r\n"_ba));
    QVERIFY(writeFile(file(Bas_Comm::MessageFileName), "\"beside the settings\"\r\n"));
    QVERIFY(writeFile(file(directory + u'/' + Bas_Comm::MessageFileName), "\"inside\"\r\n"));

    QVERIFY(Bas_Comm::Ini_Read());
    QCOMPARE(SignSettings.DataDir, directory);
    QVERIFY(Bas_Comm::Data_Read());
    QCOMPARE(SignSettings.DataText, u"inside"_s);

    SignSettings.DataText = u"new"_s;
    QVERIFY(Bas_Comm::Data_Write());
    QCOMPARE(readFile(file(directory + u'/' + Bas_Comm::MessageFileName)), "\"new\"\r\n"_ba);
    QCOMPARE(readFile(file(Bas_Comm::MessageFileName)), "\"beside the settings\"\r\n"_ba);
}

void TestSettingsFiles::pathsAreJoinedAsGiven()
{
    const QString here = runtime::CurDir();

    // A data directory ending in a separator gets a second one, which names
    // the same file.
    SignSettings.DataDir = here + u'/';
    SignSettings.DataText = u"x"_s;
    QVERIFY(Bas_Comm::Data_Write());
    QCOMPARE(readFile(file(Bas_Comm::MessageFileName)), "\"x\"\r\n"_ba);
    SignSettings.DataDir = here + u"/missing/"_s;
    QVERIFY(!Bas_Comm::Data_Read());
    QVERIFY2(Bas_Comm::lastFileError().startsWith(here + u"/missing//Velmora.txt: "_s),
             qPrintable(Bas_Comm::lastFileError()));

    // The root directory and the empty directory; nothing is written there.
    if (QFile::exists(u"/Velmora.ini"_s) || QFile::exists(u"/Velmora.txt"_s))
        QSKIP("a Velmora.ini or Velmora.txt already exists in /");
    SignSettings.DataDir.clear();
    QVERIFY(!Bas_Comm::Data_Read());
    QVERIFY2(Bas_Comm::lastFileError().startsWith(u"/Velmora.txt: "_s),
             qPrintable(Bas_Comm::lastFileError()));
    QVERIFY(QDir::setCurrent(u"/"_s));
    QCOMPARE(runtime::CurDir(), u"/"_s);
    QVERIFY(!Bas_Comm::Ini_Read());
    QVERIFY2(Bas_Comm::lastFileError().startsWith(u"//Velmora.ini: "_s),
             qPrintable(Bas_Comm::lastFileError()));
}

void TestSettingsFiles::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<bool>("settings"); // Ini_Write, else Data_Write
    QTest::addColumn<QString>("how");

    for (const QString &how : {u"immutable file"_s, u"full disk"_s}) {
        QTest::addRow("Ini_Write, %s", qPrintable(how)) << true << how;
        QTest::addRow("Data_Write, %s", qPrintable(how)) << false << how;
    }
    QTest::newRow("Data_Write, missing directory") << false << u"missing directory"_s;
}

void TestSettingsFiles::failedSaveKeepsPreviousFile()
{
    QFETCH(bool, settings);
    QFETCH(QString, how);

    const QString name = settings ? Bas_Comm::SettingsFileName : Bas_Comm::MessageFileName;
    const QByteArray previous =
        settings ? "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n\"CurDir\"\r\n"_ba : "\"old\"\r\n"_ba;
    QString directory = runtime::CurDir();
    std::unique_ptr<Undo> undo;

    if (how == u"missing directory") {
        directory += u"/missing"_s;
    } else if (how == u"full disk") {
        directory += u"/small"_s;
        QVERIFY(QDir().mkdir(directory));
        if (!run(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, directory}))
            QSKIP("cannot mount a small tmpfs here (not root?)");
        undo.reset(new Undo{[this, directory] {
            QDir::setCurrent(m_home);
            run(u"umount"_s, {directory});
        }});
        QVERIFY(writeFile(directory + u'/' + name, previous));
        QFile filler(directory + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        for (int i = 0; i < 1000 && filler.write(block) == block.size(); ++i) {
        }
        QVERIFY2(filler.size() < 64 * 1024, "the tmpfs did not fill up");
    } else {
        QVERIFY(writeFile(directory + u'/' + name, previous));
        if (!run(u"chattr"_s, {u"+i"_s, directory + u'/' + name}))
            QSKIP("chattr +i is refused here (not root, or a filesystem without it)");
        undo.reset(new Undo{[directory, name] {
            run(u"chattr"_s, {u"-i"_s, directory + u'/' + name});
        }});
    }
    const QStringList before = entries(directory);

    TestSignWindow window;
    window.place(1200, 600, 6000, 600);
    SignSettings = {3000, 0, 0, 0, 0, directory, u"new message"_s, 65280, 0};
    if (settings) {
        QVERIFY(QDir::setCurrent(directory));
        QVERIFY(!Bas_Comm::Ini_Write());
    } else {
        QVERIFY(!Bas_Comm::Data_Write());
    }
    if (how == u"missing directory") {
        QVERIFY(!QFileInfo::exists(directory)); // not created on the way
        return;
    }
    QCOMPARE(readFile(directory + u'/' + name), previous);
    QCOMPARE(entries(directory), before); // no temporary file left behind
}

// Files under directory that this process holds open.
static QStringList openFilesUnder(const QString &directory)
{
    QStringList open;
    const QDir fds(u"/proc/self/fd"_s);
    for (const QFileInfo &fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget().startsWith(directory + u'/'))
            open << fd.symLinkTarget();
    return open;
}

void TestSettingsFiles::filesAreClosedOnEveryExit()
{
    // Why: every call opens and closes its file itself, failures included; a
    // descriptor left open would leak one file per save over a long run.
    TestSignWindow window;
    const std::pair<const char *, std::function<bool()>> calls[] = {
        {"Ini_Read, no file", [] { return !Bas_Comm::Ini_Read(); }},
        {"Ini_Read, bad item",
         [&] {
             return writeFile(file(Bas_Comm::SettingsFileName), "1,2,3,4,5,6,x,d\r\n") &&
                    !Bas_Comm::Ini_Read();
         }},
        {"Ini_Read",
         [&] {
             return writeFile(file(Bas_Comm::SettingsFileName), Sample) && Bas_Comm::Ini_Read();
         }},
        {"Data_Read, no file", [] { return !Bas_Comm::Data_Read(); }},
        {"Data_Write", Bas_Comm::Data_Write},
        {"Data_Read", Bas_Comm::Data_Read},
        {"Ini_Write", Bas_Comm::Ini_Write},
        {"Ini_Write, too far left", [&] { return window.setLeft(-40000), !Bas_Comm::Ini_Write(); }},
    };
    for (const auto &[what, call] : calls) {
        QVERIFY2(call(), what);
        QVERIFY2(openFilesUnder(runtime::CurDir()).isEmpty(), what);
    }
}

QTEST_MAIN(TestSettingsFiles)
#include "tst_settingsfiles.moc"
