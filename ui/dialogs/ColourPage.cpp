// SPDX-License-Identifier: MIT
#include "ColourPage.h"

#include "DialogLayout.h"

namespace d = designed::frm_setup;

namespace {

void colourBox(runtime::Label &label, std::int32_t colour, const designed::Rect &r)
{
    label.setGeometry(r.left, r.top, r.width, r.height);
    label.setBackColor(colour);
    label.setBorder(true);
}

} // namespace

ColourPage::ColourPage() : SetupPage(d::TabCaptions[2])
{
    DialogLayout::placeCaption(Lbl_Title_Fore, d::LblTitleForeCaption, d::LblTitleFore,
                               d::DialogFontSize);
    colourBox(Lbl_Title_Fore_Color, d::PreviewBackColor, d::LblTitleForeColor);
    DialogLayout::placeCaption(Lbl_Title_Back, d::LblTitleBackCaption, d::LblTitleBack,
                               d::DialogFontSize);
    colourBox(Lbl_Title_Back_Color, d::PreviewBackColor, d::LblTitleBackColor);

    for (std::int16_t i = 0; i < std::int16_t(d::Palette.size()); ++i) {
        const float left = d::SwatchLeft + d::SwatchPitch * float(i);
        Lbl_Fore_Color[i] = std::make_unique<runtime::Label>(this);
        colourBox(*Lbl_Fore_Color[i], d::Palette[i],
                  {left, d::ForeSwatchTop, d::SwatchSize, d::SwatchSize});
        Lbl_Fore_Color[i]->Click = [this, i] { Lbl_Fore_Color_Click(i); };
        Lbl_Back_Color[i] = std::make_unique<runtime::Label>(this);
        colourBox(*Lbl_Back_Color[i], d::Palette[i],
                  {left, d::BackSwatchTop, d::SwatchSize, d::SwatchSize});
        Lbl_Back_Color[i]->Click = [this, i] { Lbl_Back_Color_Click(i); };
    }
}

void ColourPage::load(const storage::SignSettingsRecord &settings)
{
    Lbl_Title_Fore_Color.setBackColor(settings.ForeColor);
    Lbl_Title_Back_Color.setBackColor(settings.BackColor);
}

void ColourPage::store(storage::SignSettingsRecord &settings) const
{
    settings.ForeColor = Lbl_Title_Fore_Color.BackColor();
    settings.BackColor = Lbl_Title_Back_Color.BackColor();
}

void ColourPage::Lbl_Fore_Color_Click(std::int16_t index)
{
    Lbl_Title_Fore_Color.setBackColor(Lbl_Fore_Color.at(std::size_t(index))->BackColor());
}

void ColourPage::Lbl_Back_Color_Click(std::int16_t index)
{
    Lbl_Title_Back_Color.setBackColor(Lbl_Back_Color.at(std::size_t(index))->BackColor());
}
