// SPDX-License-Identifier: MIT
#include "ColourPage.h"

#include "Colors.h"
#include "DialogLayout.h"
#include "LabelRow.h"

#include <algorithm>

namespace d = designed::frm_setup;

namespace {

// The palette's colours in words, for those who cannot see the swatches;
// translated when a page is made. Swatch 0 is the system's window colour,
// whatever that looks like.
constexpr const char *ColourNames[] = {
    QT_TRANSLATE_NOOP("ColourPage", "ウィンドウの背景色"),
    QT_TRANSLATE_NOOP("ColourPage", "黄"),
    QT_TRANSLATE_NOOP("ColourPage", "緑"),
    QT_TRANSLATE_NOOP("ColourPage", "水色"),
    QT_TRANSLATE_NOOP("ColourPage", "青"),
    QT_TRANSLATE_NOOP("ColourPage", "赤紫"),
    QT_TRANSLATE_NOOP("ColourPage", "赤"),
    QT_TRANSLATE_NOOP("ColourPage", "黒"),
};

void colourBox(runtime::Label &label, std::int32_t colour, const designed::Rect &r)
{
    label.setGeometry(r.left, r.top, r.width, r.height);
    label.setBackColor(colour);
    label.setBorder(true);
}

// The swatch showing `colour`, or -1 when none does.
int swatchOf(std::int32_t colour)
{
    const auto found = std::find(d::Palette.begin(), d::Palette.end(), colour);
    return found == d::Palette.end() ? -1 : int(found - d::Palette.begin());
}

} // namespace

ColourPage::ColourPage() : SetupPage(d::TabCaptions[2])
{
    DialogLayout::placeCaption(Lbl_Title_Fore, d::LblTitleForeCaption, d::LblTitleFore,
                               d::DialogFontSize);
    DialogLayout::placeCaption(Lbl_Title_Back, d::LblTitleBackCaption, d::LblTitleBack,
                               d::DialogFontSize);
    colourBox(Lbl_Title_Fore_Color, d::PreviewBackColor, previewBar(d::LblTitleForeColor));
    colourBox(Lbl_Title_Back_Color, d::PreviewBackColor, previewBar(d::LblTitleBackColor));
    // Assistive tools see the previews as text naming the colour they show
    // (see showChosen), the swatches only through the rows.

    std::vector<const runtime::Label *> fore, back;
    for (std::int16_t i = 0; i < std::int16_t(d::Palette.size()); ++i) {
        const float left = d::SwatchLeft + d::SwatchPitch * float(i);
        Lbl_Fore_Color[i] = std::make_unique<runtime::Label>(this);
        colourBox(*Lbl_Fore_Color[i], d::Palette[i],
                  {left, d::ForeSwatchTop, d::SwatchSize, d::SwatchSize});
        Lbl_Fore_Color[i]->setAccessibleHidden(true);
        Lbl_Fore_Color[i]->Click = [this, i] { Lbl_Fore_Color_Click(i); };
        Lbl_Back_Color[i] = std::make_unique<runtime::Label>(this);
        colourBox(*Lbl_Back_Color[i], d::Palette[i],
                  {left, d::BackSwatchTop, d::SwatchSize, d::SwatchSize});
        Lbl_Back_Color[i]->setAccessibleHidden(true);
        Lbl_Back_Color[i]->Click = [this, i] { Lbl_Back_Color_Click(i); };
        fore.push_back(Lbl_Fore_Color[i].get());
        back.push_back(Lbl_Back_Color[i].get());
    }

    // The keyboard's way to the swatches: one stop per row, named by the
    // caption before it.
    QStringList colourNames;
    for (const char *name : ColourNames)
        colourNames << tr(name);
    m_foreRow = new runtime::LabelRow(this, fore);
    m_foreRow->setObjectName(QStringLiteral("Row_Fore_Color"));
    m_foreRow->setAccessibleName(Lbl_Title_Fore.Caption());
    m_foreRow->setItemNames(colourNames);
    m_foreRow->setSelectionNote(tr("選択中"));
    connect(m_foreRow, &runtime::LabelRow::Pick, this,
            [this](int i) { Lbl_Fore_Color_Click(std::int16_t(i)); });
    m_backRow = new runtime::LabelRow(this, back);
    m_backRow->setObjectName(QStringLiteral("Row_Back_Color"));
    m_backRow->setAccessibleName(Lbl_Title_Back.Caption());
    m_backRow->setItemNames(colourNames);
    m_backRow->setSelectionNote(tr("選択中"));
    connect(m_backRow, &runtime::LabelRow::Pick, this,
            [this](int i) { Lbl_Back_Color_Click(std::int16_t(i)); });
}

ColourPage::~ColourPage()
{
    // The rows go before the swatches they point to, not after them with the
    // page's other children.
    delete m_foreRow;
    delete m_backRow;
}

designed::Rect ColourPage::previewBar(const designed::Rect &designedBar) const
{
    // A caption wider than designed (a translation's: "Background") keeps its
    // designed gap to the bars by moving where both bars start, level with
    // each other; their right edge stays where designed.
    const double gap = d::LblTitleForeColor.left - (d::LblTitleFore.left + d::LblTitleFore.width);
    const double captionsEnd = std::max(Lbl_Title_Fore.Left() + Lbl_Title_Fore.Width(),
                                        Lbl_Title_Back.Left() + Lbl_Title_Back.Width());
    const float left = std::max(designedBar.left, float(captionsEnd + gap));
    const float right = designedBar.left + designedBar.width;
    return {left, designedBar.top, right - left, designedBar.height};
}

void ColourPage::load(const storage::SignSettingsRecord &settings)
{
    Lbl_Title_Fore_Color.setBackColor(settings.ForeColor);
    Lbl_Title_Back_Color.setBackColor(settings.BackColor);
    showChosen();
}

void ColourPage::store(storage::SignSettingsRecord &settings) const
{
    settings.ForeColor = Lbl_Title_Fore_Color.BackColor();
    settings.BackColor = Lbl_Title_Back_Color.BackColor();
}

QList<QWidget *> ColourPage::inputControls() const
{
    return {m_foreRow, m_backRow};
}

void ColourPage::Lbl_Fore_Color_Click(std::int16_t index)
{
    Lbl_Title_Fore_Color.setBackColor(Lbl_Fore_Color.at(std::size_t(index))->BackColor());
    showChosen();
}

void ColourPage::Lbl_Back_Color_Click(std::int16_t index)
{
    Lbl_Title_Back_Color.setBackColor(Lbl_Back_Color.at(std::size_t(index))->BackColor());
    showChosen();
}

QString ColourPage::colourName(std::int32_t colour) const
{
    const int swatch = swatchOf(colour);
    if (swatch >= 0)
        return tr(ColourNames[swatch]);
    return tr("その他の色 (%1)").arg(runtime::resolveColor(colour).name());
}

void ColourPage::showChosen()
{
    // The preview's name and the row's description say in words what the
    // preview shows.
    const std::pair<runtime::Label *, runtime::LabelRow *> chosen[] = {
        {&Lbl_Title_Fore_Color, m_foreRow}, {&Lbl_Title_Back_Color, m_backRow}};
    for (const auto &[preview, row] : chosen) {
        const QString name = colourName(preview->BackColor());
        preview->setAccessibleName(name);
        if (row->accessibleDescription() != name)
            row->setAccessibleDescription(name);
        row->setSelected(swatchOf(preview->BackColor()));
    }
}
