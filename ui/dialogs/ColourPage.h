// SPDX-License-Identifier: MIT
#pragma once

#include "Label.h"
#include "SetupPage.h"

#include <array>
#include <cstdint>
#include <memory>

// Page "色": two rows of eight swatches, the upper for the text colour and
// the lower for the background, each with a preview that takes the colour of
// the swatch clicked. The previews are the page's only record of the chosen
// colours. It takes no keyboard focus.
class ColourPage : public SetupPage
{
    Q_OBJECT

public:
    ColourPage();

    void load(const storage::SignSettingsRecord &settings) override;
    void store(storage::SignSettingsRecord &settings) const override;

    void Lbl_Fore_Color_Click(std::int16_t index);
    void Lbl_Back_Color_Click(std::int16_t index);

    // For tests: the swatches and the two previews.
    const runtime::Label &foreSwatch(int index) const { return *Lbl_Fore_Color.at(index); }
    const runtime::Label &backSwatch(int index) const { return *Lbl_Back_Color.at(index); }
    const runtime::Label &forePreview() const { return Lbl_Title_Fore_Color; }
    const runtime::Label &backPreview() const { return Lbl_Title_Back_Color; }

private:
    runtime::Label Lbl_Title_Fore{this};
    runtime::Label Lbl_Title_Fore_Color{this};
    runtime::Label Lbl_Title_Back{this};
    runtime::Label Lbl_Title_Back_Color{this};
    std::array<std::unique_ptr<runtime::Label>, 8> Lbl_Fore_Color, Lbl_Back_Color;
};
