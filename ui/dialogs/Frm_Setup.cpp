// SPDX-License-Identifier: MIT
#include "Frm_Setup.h"

#include "Autostart.h"
#include "Bas_Comm.h"
#include "ColourPage.h"
#include "CommandButton.h"
#include "DialogLayout.h"
#include "DisplayPage.h"
#include "Fonts.h"
#include "MessagePage.h"
#include "Program.h"
#include "RuntimeError.h"
#include "SpeedPage.h"
#include "TabControl.h"

#include <QShortcut>
#include <QTabBar>

using namespace Bas_Comm;
namespace d = designed::frm_setup;

Frm_Setup::Frm_Setup()
{
    setCaption(d::Caption);
    setWindowIcon(designed::programIcon());
    setFont(runtime::designedFont(d::DialogFontSize));
    setBackColor(d::BackColor);
    setClientSize(d::ClientWidth, d::ClientHeight);
    setFixedBorder();
    setAccessibleRole(QAccessible::Dialog);

    Tab_Setup = new runtime::TabControl(this);
    Tab_Setup->setObjectName(QStringLiteral("Tab_Setup"));
    DialogLayout::place(Tab_Setup, d::TabSetup);
    connect(Tab_Setup, &runtime::TabControl::Click, this,
            [this](int previous) { Tab_Setup_Click(previous); });

    // The pages, in the order of their tabs.
    addPage(new MessagePage);
    addPage(new SpeedPage);
    addPage(new ColourPage);
    addPage(new DisplayPage);

    Cmd_Ok = new runtime::CommandButton(d::CmdOkCaption, this);
    Cmd_Ok->setObjectName(QStringLiteral("Cmd_Ok"));
    DialogLayout::place(Cmd_Ok, d::CmdOk);
    runtime::onEvent(Cmd_Ok, &QPushButton::clicked, this, [this] { Cmd_Ok_Click(); });
    Cmd_Cansel = new runtime::CommandButton(d::CmdCanselCaption, this);
    Cmd_Cansel->setObjectName(QStringLiteral("Cmd_Cansel"));
    DialogLayout::place(Cmd_Cansel, d::CmdCansel);
    runtime::onEvent(Cmd_Cansel, &QPushButton::clicked, this, [this] { Cmd_Cansel_Click(); });

    // Esc anywhere in the dialog clicks the cancel button.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, Cmd_Cansel, &QPushButton::click);

    // Tab order: the tab strip, each page's input controls, ＯＫ, キャンセル;
    // only the current page's inputs take a Tab stop.
    QWidget *previous = Tab_Setup->strip();
    for (SetupPage *page : m_pages) {
        for (QWidget *input : page->inputControls()) {
            QWidget::setTabOrder(previous, input);
            previous = input;
        }
    }
    QWidget::setTabOrder(previous, Cmd_Ok);
    QWidget::setTabOrder(Cmd_Ok, Cmd_Cansel);
    followCurrentPage();
    Tab_Setup->strip()->setFocus();
}

void Frm_Setup::addPage(SetupPage *page)
{
    m_pages.push_back(page);
    Tab_Setup->addPage(page, page->caption());
}

void Frm_Setup::followCurrentPage()
{
    for (SetupPage *page : m_pages) {
        for (QWidget *input : page->inputControls())
            input->setFocusPolicy(Qt::ClickFocus);
    }
    const int current = Tab_Setup->Tab();
    if (current >= 0 && current < int(m_pages.size())) {
        for (QWidget *input : m_pages[std::size_t(current)]->inputControls())
            input->setFocusPolicy(Qt::StrongFocus);
    }
}

void Frm_Setup::Form_Load()
{
    const SignWindow *sign = signWindow();
    setTop(sign ? sign->Top() : 0);
    setLeft(sign ? sign->Left() : 0);
    SignOptions options = Options;
    options.startAtLogin = Autostart::isEnabled();
    for (SetupPage *page : m_pages) {
        page->load(SignSettings);
        page->loadOptions(options);
    }
}

bool Frm_Setup::storeOptions(QString *why)
{
    SignOptions chosen = Options;
    for (const SetupPage *page : m_pages)
        page->storeOptions(chosen);
    // The options file is written only when an option in it changed, so a
    // sign that never uses them never gets one.
    const bool fileChanged =
        chosen.smoothMotion != Options.smoothMotion || chosen.stayOnTop != Options.stayOnTop;
    if (fileChanged && !writeOptions(chosen, why))
        return false;
    if (chosen.startAtLogin != Autostart::isEnabled() &&
        !Autostart::setEnabled(chosen.startAtLogin, why))
        return false;
    Options = chosen;
    if (SignWindow *sign = signWindow())
        sign->applyOptions(Options);
    return true;
}

void Frm_Setup::Tab_Setup_Click(int)
{
    followCurrentPage();
}

void Frm_Setup::Cmd_Ok_Click()
{
    // A value no file can keep stops ＯＫ before anything is changed, and the
    // page that holds it is shown.
    for (std::size_t index = 0; index < m_pages.size(); ++index) {
        const QString refused = m_pages[index]->refusal();
        if (refused.isEmpty())
            continue;
        Tab_Setup->setTab(int(index));
        followCurrentPage();
        ErrorBox(tr("設定の更新に失敗しました"), refused);
        if (const QList<QWidget *> inputs = m_pages[index]->inputControls(); !inputs.isEmpty())
            inputs.front()->setFocus();
        return;
    }
    QString reason;
    try {
        for (const SetupPage *page : m_pages)
            page->store(SignSettings);
        if (Ini_Write() && Data_Write() && storeOptions(&reason)) {
            Disp_Set();
            if (SignWindow *sign = signWindow())
                sign->Show();
            Unload();
            return;
        }
        if (reason.isEmpty())
            reason = lastFileError();
    } catch (const runtime::RuntimeError &error) {
        reason = QString::fromUtf8(error.what());
    }
    reportFailure("cannot save the settings", tr("設定の更新に失敗しました"), reason);
}

void Frm_Setup::Cmd_Cansel_Click()
{
    if (SignWindow *sign = signWindow())
        sign->Show();
    Unload();
}

void Frm_Setup::closeRequested()
{
    Cmd_Cansel_Click();
}
