// SPDX-License-Identifier: MIT
#pragma once

// What every widget test of the sign needs: a scratch current directory for
// Velmora.ini and Velmora.txt (in the build tree, not in /tmp, since chattr
// does not work on tmpfs), message boxes recorded instead of shown, End()
// that does not quit the test's event loop, and the sign unloaded afterwards.

#include "Bas_Comm.h"
#include "FormInstance.h"
#include "Frm_Main.h"
#include "GoldenFiles.h"
#include "MessageFile.h"
#include "MsgBox.h"
#include "Program.h"
#include "SettingsFile.h"
#include "Startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

struct ShownBox
{
    QString prompt;
    int buttons;
    QString title;
    QString detail;
};

class ScratchSignFixture
{
public:
    // From initTestCase.
    void setUpProgram()
    {
        runtime::prepareApplication();
        runtime::setQuitOnEnd(false);
        runtime::setMessageBoxPresenter([this](const QString &prompt, int buttons,
                                               const QString &title, const QString &detail) {
            boxes.push_back({prompt, buttons, title, detail});
        });
    }

    // From init: a fresh, empty current directory.
    void enterScratchDirectory()
    {
        m_previousDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>(QCoreApplication::applicationDirPath() +
                                                QStringLiteral("/scratch-XXXXXX"));
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        boxes.clear();
    }

    // From cleanup, also after a failure: the sign unloaded and deleted, the
    // record and the end state cleared, the previous directory restored.
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
    QString settingsPath() const { return path(storage::SettingsFile::FileName); }
    QString messagePath() const { return path(storage::MessageFile::FileName); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    std::vector<ShownBox> boxes;

private:
    QString m_previousDir;
    std::unique_ptr<QTemporaryDir> m_dir;
};
