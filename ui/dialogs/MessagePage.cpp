// SPDX-License-Identifier: MIT
#include "MessagePage.h"

#include "AtSpiEvents.h"
#include "Bas_Comm.h"
#include "DialogLayout.h"
#include "Fonts.h"
#include "MessageFile.h"
#include "MessageValidator.h"
#include "TextBox.h"
#include "Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QToolTip>

#include <limits>

namespace d = designed::frm_setup;

MessagePage::MessagePage() : SetupPage(d::TabCaptions[0])
{
    DialogLayout::placeCaption(Lbl_Title1, d::LblTitle1Caption, d::LblTitle1, d::DialogFontSize);

    Txt_Data = new runtime::TextBox(this);
    Txt_Data->setObjectName(QStringLiteral("Txt_Data"));
    // Named by the caption above it, which a screen reader cannot tie to it.
    Txt_Data->setAccessibleName(Lbl_Title1.Caption());
    DialogLayout::place(Txt_Data, d::TxtData);
    Txt_Data->setFont(runtime::designedFont(d::TxtDataFontSize));
    Txt_Data->setMaxLength(std::numeric_limits<int>::max());
    m_validator = new MessageValidator(Txt_Data);
    Txt_Data->setValidator(m_validator);
    connect(Txt_Data, &QLineEdit::inputRejected, this, &MessagePage::showRefusal);
    connect(m_validator, &MessageValidator::substituted, this,
            [this](const QString &typed, const QString &stored) {
                showNotice(tr("「%1」は「%2」として保存されます。").arg(typed, stored));
            });
    connect(Txt_Data, &QLineEdit::textEdited, this, &MessagePage::clearNotice);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        if (old == Txt_Data)
            clearNotice();
    });
}

void MessagePage::load(const storage::SignSettingsRecord &settings)
{
    Txt_Data->setText(settings.DataText);
}

void MessagePage::store(storage::SignSettingsRecord &settings) const
{
    settings.DataText = Txt_Data->text();
}

QString MessagePage::refusal() const
{
    const QString text = Txt_Data->text();
    const auto check = storage::MessageFile::storability(text, Bas_Comm::knownMessageEncoding());
    if (check.obstacle != storage::MessageFile::Obstacle::DoubleQuote)
        return {};
    if (text.contains(u','))
        return tr("表示文字列に「\"」と「,」を一緒に保存することはできません。"
                  "どちらかを消してください。");
    if (text.startsWith(u'"'))
        return tr("「\"」を表示文字列の先頭に置くことはできません。");
    return tr("「\"」を含む表示文字列は、空白で始めることができません。");
}

QList<QWidget *> MessagePage::inputControls() const
{
    return {Txt_Data};
}

void MessagePage::showRefusal()
{
    QApplication::beep();
    showNotice(m_validator->lastRefusal());
}

void MessagePage::showNotice(const QString &text)
{
    // Above the text box, clear of the buttons below it: a tooltip opens some
    // 16 pixels below the point it is given.
    const int above = 16 + QFontMetrics(QToolTip::font()).height() + 12;
    QToolTip::showText(Txt_Data->mapToGlobal(QPoint(0, -above)), text, Txt_Data);
    tellAssistiveTools(text);
}

void MessagePage::tellAssistiveTools(const QString &text)
{
    // A screen reader speaks a new description of the focused box; the same
    // reason twice is announced again.
    if (Txt_Data->accessibleDescription() == text) {
        QAccessibleEvent event(Txt_Data, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
    } else {
        Txt_Data->setAccessibleDescription(text);
    }
    if (QAccessible::isActive())
        runtime::AtSpiEvents::descriptionChanged(QAccessible::queryAccessibleInterface(Txt_Data));
    // Kept until the user edits again (not by the edit that raised it) or
    // leaves the box.
    m_noticeSettled = false;
    QMetaObject::invokeMethod(
        this, [this] { m_noticeSettled = true; }, Qt::QueuedConnection);
}

void MessagePage::clearNotice()
{
    if (m_noticeSettled)
        Txt_Data->setAccessibleDescription(QString());
}
