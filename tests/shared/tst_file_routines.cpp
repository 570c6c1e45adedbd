// SPDX-License-Identifier: MIT
// Ini_Read, Ini_Write, Data_Read and Data_Write: where they find their files
// (the current directory, the data directory, paths joined as given), the
// geometry Ini_Write takes from the live sign window, and what they report
// when they fail. The files' layouts are tst_codecs', saving is
// tst_storedfile's. Each test runs in its own current directory under the
// build tree.

#include "Bas_Comm.h"
#include "CurDir.h"
#include "GoldenFiles.h"
#include "MessageFile.h"
#include "RuntimeError.h"
#include "SettingsFile.h"
#include "StoredFile.h"
#include "Twips.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;
using Bas_Comm::SignSettings;
using storage::MessageFile;
using storage::SettingsFile;
using storage::StoredFile;

namespace {

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

QByteArray readFile(const QString &path)
{
    return StoredFile::load(path, 1 << 20).value_or(QByteArray());
}

QStringList entries(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                     QDir::Name);
}

} // namespace

class TestFileRoutines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void readThenWriteInCurrentDirectory();
    void iniWriteStoresLiveGeometry_data();
    void iniWriteStoresLiveGeometry();
    void geometryRounding_data();
    void geometryRounding();
    void iniWriteRefusedBeyond16Bits_data();
    void iniWriteRefusedBeyond16Bits();
    void failuresNameTheFile();
    void dataDirectoryRelativeToCurrent_data();
    void dataDirectoryRelativeToCurrent();
    void pathsAreJoinedAsGiven();

private:
    QString file(const QString &name) const { return QDir(storage::CurDir()).filePath(name); }

    QString m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileRoutines::initTestCase()
{
    m_home = QDir::currentPath();
    // Every expected geometry below is a whole number of pixels at 96 dpi.
    QCOMPARE(runtime::twipsPerPixel(), 15.0);
}

void TestFileRoutines::init()
{
    SignSettings = {};
    m_dir = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath() +
                                            u"/fileroutines-XXXXXX"_s);
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestFileRoutines::cleanup()
{
    QDir::setCurrent(m_home);
    m_dir.reset();
}

void TestFileRoutines::readThenWriteInCurrentDirectory()
{
    // The golden files in the current directory read into the record, with
    // "CurDir" resolved to the current directory, and a window at the same
    // place writes both back byte for byte, "CurDir" included.
    QVERIFY(StoredFile::save(file(SettingsFile::FileName), golden::bytes(u"Velmora.ini"_s)));
    QVERIFY(StoredFile::save(file(MessageFile::FileName), golden::bytes(u"Velmora.txt"_s)));
    QVERIFY(Bas_Comm::Ini_Read());
    QVERIFY(Bas_Comm::Data_Read());
    QCOMPARE(SignSettings.DataDir, storage::CurDir());
    QCOMPARE(SignSettings.DataText, u"Hello, world"_s);

    QVERIFY(QFile::remove(file(SettingsFile::FileName)));
    QVERIFY(QFile::remove(file(MessageFile::FileName)));
    TestSignWindow window;
    window.place(SignSettings.Top, SignSettings.Left, SignSettings.Width, SignSettings.Height);
    QVERIFY2(Bas_Comm::Ini_Write(), qPrintable(Bas_Comm::lastFileError()));
    QVERIFY2(Bas_Comm::Data_Write(), qPrintable(Bas_Comm::lastFileError()));
    QCOMPARE(readFile(file(SettingsFile::FileName)), golden::bytes(u"Velmora.ini"_s));
    QCOMPARE(readFile(file(MessageFile::FileName)), golden::bytes(u"Velmora.txt"_s));
    QCOMPARE(entries(storage::CurDir()),
             (QStringList{SettingsFile::FileName, MessageFile::FileName}));
}

void TestFileRoutines::iniWriteStoresLiveGeometry_data()
{
    QTest::addColumn<QList<qint64>>("geometry"); // Top Left Width Height, twips

    QTest::newRow("sample") << QList<qint64>{1200, 600, 6000, 600};
    QTest::newRow("off screen to the left and top") << QList<qint64>{-120, -75, 30, 15};
}

void TestFileRoutines::iniWriteStoresLiveGeometry()
{
    QFETCH(QList<qint64>, geometry);

    TestSignWindow window;
    window.place(geometry[0], geometry[1], geometry[2], geometry[3]);
    // The record's own geometry differs from the window's; the window wins
    // and the record is left alone.
    SignSettings = {-5, 1, 2, 3, 4, storage::CurDir(), u"m"_s, qint32(0x80000005), 0x00FF00FF};
    const auto before = SignSettings;

    QVERIFY2(Bas_Comm::Ini_Write(), qPrintable(Bas_Comm::lastFileError()));
    QCOMPARE(SignSettings, before);
    QCOMPARE(readFile(file(SettingsFile::FileName)), (golden::Settings{.top = geometry[0],
                                                                       .left = geometry[1],
                                                                       .width = geometry[2],
                                                                       .height = geometry[3],
                                                                       .speed = -5,
                                                                       .fore = -2147483643LL,
                                                                       .back = 16711935}
                                                          .bytes()));
}

void TestFileRoutines::geometryRounding_data()
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

void TestFileRoutines::geometryRounding()
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

void TestFileRoutines::iniWriteRefusedBeyond16Bits_data()
{
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("left");

    QTest::newRow("left beyond 32767") << 1200.f << 45000.f;
    QTest::newRow("top below -32768") << -33000.f << 600.f;
}

void TestFileRoutines::iniWriteRefusedBeyond16Bits()
{
    // Why: a position the file cannot hold fails the save and leaves the
    // previous file as it was.
    QFETCH(float, top);
    QFETCH(float, left);

    const QByteArray previous = golden::Settings{.speed = 5}.bytes();
    QVERIFY(StoredFile::save(file(SettingsFile::FileName), previous));
    TestSignWindow window;
    window.place(top, left, 6000, 600);
    SignSettings.DataDir = storage::CurDir();

    QVERIFY(!Bas_Comm::Ini_Write());
    QCOMPARE(readFile(file(SettingsFile::FileName)), previous);
    QCOMPARE(entries(storage::CurDir()), QStringList{SettingsFile::FileName});
}

void TestFileRoutines::failuresNameTheFile()
{
    // Why: start-up reports lastFileError(), which must say which file failed.
    QVERIFY(!Bas_Comm::Ini_Read());
    QVERIFY2(Bas_Comm::lastFileError().startsWith(file(SettingsFile::FileName) + u": "_s),
             qPrintable(Bas_Comm::lastFileError()));
    QVERIFY(StoredFile::save(file(SettingsFile::FileName), "1,2,3,4,5,6,x,d\r\n"));
    QVERIFY(!Bas_Comm::Ini_Read());
    QVERIFY2(Bas_Comm::lastFileError().contains(u"line 1"_s),
             qPrintable(Bas_Comm::lastFileError()));

    SignSettings.DataDir = storage::CurDir();
    SignSettings.DataText = u"kept"_s;
    QVERIFY(StoredFile::save(file(MessageFile::FileName), ""));
    QVERIFY(!Bas_Comm::Data_Read());
    QCOMPARE(SignSettings.DataText, u"kept"_s);
    QVERIFY2(Bas_Comm::lastFileError().startsWith(file(MessageFile::FileName) + u": "_s),
             qPrintable(Bas_Comm::lastFileError()));
}

void TestFileRoutines::dataDirectoryRelativeToCurrent_data()
{
    QTest::addColumn<QString>("directory");
    QTest::newRow("relative") << u"data"_s;
    QTest::newRow("lower-case curdir") << u"curdir"_s;
    QTest::newRow("upper-case CURDIR") << u"CURDIR"_s;
}

void TestFileRoutines::dataDirectoryRelativeToCurrent()
{
    QFETCH(QString, directory);

    QVERIFY(QDir().mkdir(directory));
    QVERIFY(StoredFile::save(file(SettingsFile::FileName),
                             golden::Settings{}.inDirectory(directory.toLatin1()).bytes()));
    QVERIFY(StoredFile::save(file(MessageFile::FileName), golden::message("beside the settings")));
    QVERIFY(StoredFile::save(file(directory + u'/' + MessageFile::FileName),
                             golden::message("inside")));

    QVERIFY(Bas_Comm::Ini_Read());
    QCOMPARE(SignSettings.DataDir, directory);
    QVERIFY(Bas_Comm::Data_Read());
    QCOMPARE(SignSettings.DataText, u"inside"_s);

    SignSettings.DataText = u"new"_s;
    QVERIFY(Bas_Comm::Data_Write());
    QCOMPARE(readFile(file(directory + u'/' + MessageFile::FileName)), golden::message("new"));
    QCOMPARE(readFile(file(MessageFile::FileName)), golden::message("beside the settings"));
}

void TestFileRoutines::pathsAreJoinedAsGiven()
{
    const QString here = storage::CurDir();

    // A data directory ending in a separator gets a second one, which names
    // the same file.
    SignSettings.DataDir = here + u'/';
    SignSettings.DataText = u"x"_s;
    QVERIFY(Bas_Comm::Data_Write());
    QCOMPARE(readFile(file(MessageFile::FileName)), golden::message("x"));
    SignSettings.DataDir = here + u"/missing/"_s;
    QVERIFY(!Bas_Comm::Data_Write());
    QVERIFY(!QFileInfo::exists(here + u"/missing"_s)); // not created on the way
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
    QCOMPARE(storage::CurDir(), u"/"_s);
    QVERIFY(!Bas_Comm::Ini_Read());
    QVERIFY2(Bas_Comm::lastFileError().startsWith(u"//Velmora.ini: "_s),
             qPrintable(Bas_Comm::lastFileError()));
}

QTEST_MAIN(TestFileRoutines)
#include "tst_file_routines.moc"
