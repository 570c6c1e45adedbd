// SPDX-License-Identifier: MIT
#pragma once

#include "Label.h"
#include "SetupPage.h"

#include <cstdint>

class QSlider;

// Page "速度": the speed on a slider from 遅く (1) to 早く (30000), in
// hundredths of a twip per tick, named 速度 with its two ends for assistive
// tools. New_Speed follows the slider and is what ＯＫ
// stores; a speed outside the slider's range (a hand-edited file) shows the
// slider at the nearer end and is kept until the slider moves.
class SpeedPage : public SetupPage
{
    Q_OBJECT

public:
    SpeedPage();

    void load(const storage::SignSettingsRecord &settings) override;
    void store(storage::SignSettingsRecord &settings) const override;
    QList<QWidget *> inputControls() const override;

    std::int16_t New_Speed = 0;

    void Sld_Speed_Change();

private:
    runtime::Label Lbl_Title2{this};
    runtime::Label Lbl_Title3{this};
    QSlider *Sld_Speed;
};
