#pragma once

// Shared set-up for the sign window's widget tests: a scratch directory that
// holds Velmora.ini and Velmora.txt and is the current directory while a test
// runs, a recorder for message boxes, and loading and unloading the one
// Frm_Main instance the way the program does.

#include "Bas_Comm.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "MsgBox.h"
#include "Program.h"
#include "Startup.h"
#include "Twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

struct ShownBox
{
    QString prompt;
    int buttons;
    QString title;
};

struct SignGeometry
{
    int top = 300;
    int left = 600;
    int width = 4500; // twips: 300 pixels at 96 dpi
    int height = 375; // twips: 25 pixels at 96 dpi
};

class SignFixture
{
public:
    // Call from initTestCase: the program's own application set-up (fonts),
    // End() that does not quit the test's event loop, boxes recorded.
    void setUpProgram()
    {
        runtime::prepareApplication();
        runtime::setQuitOnEnd(false);
        runtime::setMessageBoxPresenter(
            [this](const QString &prompt, int buttons, const QString &title) {
                boxes.push_back({prompt, buttons, title});
            });
    }

    // Call from init: a fresh, empty current directory.
    void enterScratchDirectory()
    {
        m_previousDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        boxes.clear();
    }

    // Call from cleanup: the sign unloaded and deleted, the record and the
    // end state cleared, the previous directory restored.
    void tearDown()
    {
        if (Frm_Main *sign = runtime::FormInstance<Frm_Main>::loaded())
            sign->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(Bas_Comm::signWindow() == nullptr);
        Bas_Comm::SignSettings = {};
        runtime::resetEndForTesting();
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
    }

    QString path(const QString &name) const { return m_dir->filePath(name); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The settings file in the scratch directory, message file beside it.
    void writeSettings(const SignGeometry &g, int speed, std::int32_t fore, std::int32_t back)
    {
        const QList<QByteArray> items{QByteArray::number(g.top),   QByteArray::number(g.left),
                                      QByteArray::number(g.width), QByteArray::number(g.height),
                                      QByteArray::number(speed),   QByteArray::number(fore),
                                      QByteArray::number(back),    QByteArrayLiteral("\"CurDir\"")};
        writeFile(path(Bas_Comm::SettingsFileName), items.join("\r\n") + "\r\n");
    }

    // `cp932` is the message as the file stores it, without the quotes.
    void writeMessage(const QByteArray &cp932)
    {
        writeFile(path(Bas_Comm::MessageFileName), '"' + cp932 + "\"\r\n");
    }

    // Both files, then the sign loaded and shown as the program starts it.
    Frm_Main &startSign(const QByteArray &message, int speed = 0, std::int32_t fore = 0x00FF00,
                        std::int32_t back = 0x000000, const SignGeometry &g = {})
    {
        writeSettings(g, speed, fore, back);
        writeMessage(message);
        Frm_Main &sign = runtime::FormInstance<Frm_Main>::get();
        sign.Show();
        return sign;
    }

    // Twips per pixel, and a twip length as whole pixels when it is one.
    static double tpp() { return runtime::twipsPerPixel(); }
    static bool wholePixels(double twips)
    {
        const double pixels = twips / tpp();
        return std::abs(pixels - std::round(pixels)) < 1e-9;
    }
    static int toPixels(double twips) { return int(std::lround(twips / tpp())); }

    std::vector<ShownBox> boxes;

private:
    QString m_previousDir;
    std::unique_ptr<QTemporaryDir> m_dir;
};
