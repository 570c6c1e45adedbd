// SPDX-License-Identifier: MIT
#include "SpeedPage.h"

#include "DialogLayout.h"
#include "Program.h"
#include "Twips.h"

#include <QSignalBlocker>
#include <QSlider>

namespace d = designed::frm_setup;

SpeedPage::SpeedPage() : SetupPage(d::TabCaptions[1])
{
    DialogLayout::placeCaption(Lbl_Title2, d::LblTitle2Caption, d::LblTitle2, d::DialogFontSize);
    DialogLayout::placeCaption(Lbl_Title3, d::LblTitle3Caption, d::LblTitle3, d::DialogFontSize);

    Sld_Speed = new QSlider(Qt::Horizontal, this);
    Sld_Speed->setObjectName(QStringLiteral("Sld_Speed"));
    // Named by its page, its two ends by the captions over them.
    Sld_Speed->setAccessibleName(caption());
    Sld_Speed->setAccessibleDescription(
        QStringLiteral("%1 – %2").arg(Lbl_Title2.Caption(), Lbl_Title3.Caption()));
    DialogLayout::place(Sld_Speed, d::SldSpeed);
    Sld_Speed->setRange(d::SpeedMin, d::SpeedMax);
    Sld_Speed->setSingleStep(300);
    Sld_Speed->setPageStep(3000);
    Sld_Speed->setTickPosition(QSlider::TicksBelow);
    Sld_Speed->setTickInterval(3000);
    runtime::onEvent(Sld_Speed, &QSlider::valueChanged, this, [this] { Sld_Speed_Change(); });
}

void SpeedPage::load(const storage::SignSettingsRecord &settings)
{
    New_Speed = settings.Speed;
    const QSignalBlocker quiet(Sld_Speed);
    Sld_Speed->setValue(std::int32_t(settings.Speed));
}

void SpeedPage::store(storage::SignSettingsRecord &settings) const
{
    settings.Speed = New_Speed;
}

QList<QWidget *> SpeedPage::inputControls() const
{
    return {Sld_Speed};
}

void SpeedPage::Sld_Speed_Change()
{
    New_Speed = runtime::toInt16(Sld_Speed->value());
}
