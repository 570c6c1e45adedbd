// SPDX-License-Identifier: MIT
#pragma once

#include "DesignedProperties.h"
#include "Label.h"
#include "SetupPage.h"

#include <array>
#include <cstdint>
#include <memory>

namespace runtime {
class LabelRow;
}

// Page "色": two rows of eight swatches, the upper for the text colour and
// the lower for the background, each with a preview that takes the colour of
// the swatch clicked. The previews are the page's only record of the chosen
// colours. Each row is also one keyboard stop (arrow keys mark a swatch,
// Space or Return picks it as a click does) and, for assistive tools, a list
// of colours named in words with the chosen one selected and named in its
// description; the previews are text naming the colour they show. A caption
// wider than designed moves the start of both previews to the right.
class ColourPage : public SetupPage
{
    Q_OBJECT

public:
    ColourPage();
    ~ColourPage() override;

    void load(const storage::SignSettingsRecord &settings) override;
    void store(storage::SignSettingsRecord &settings) const override;
    QList<QWidget *> inputControls() const override;

    void Lbl_Fore_Color_Click(std::int16_t index);
    void Lbl_Back_Color_Click(std::int16_t index);

    // For tests: the swatches, the two previews and the rows that take the
    // keyboard.
    const runtime::Label &foreSwatch(int index) const { return *Lbl_Fore_Color.at(index); }
    const runtime::Label &backSwatch(int index) const { return *Lbl_Back_Color.at(index); }
    const runtime::Label &forePreview() const { return Lbl_Title_Fore_Color; }
    const runtime::Label &backPreview() const { return Lbl_Title_Back_Color; }
    runtime::LabelRow *foreRow() const { return m_foreRow; }
    runtime::LabelRow *backRow() const { return m_backRow; }

private:
    // Where a preview bar designed at `designedBar` stands, clear of the
    // captions.
    designed::Rect previewBar(const designed::Rect &designedBar) const;
    void showChosen();
    // A colour in words: a swatch's name, or its RGB value.
    QString colourName(std::int32_t colour) const;

    runtime::Label Lbl_Title_Fore{this};
    runtime::Label Lbl_Title_Fore_Color{this};
    runtime::Label Lbl_Title_Back{this};
    runtime::Label Lbl_Title_Back_Color{this};
    std::array<std::unique_ptr<runtime::Label>, 8> Lbl_Fore_Color, Lbl_Back_Color;
    runtime::LabelRow *m_foreRow = nullptr;
    runtime::LabelRow *m_backRow = nullptr;
};
