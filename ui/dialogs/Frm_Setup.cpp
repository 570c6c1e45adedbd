#include "Frm_Setup.h"

#include "Bas_Comm.h"
#include "CommandButton.h"
#include "DesignedProperties.h"
#include "Fonts.h"
#include "MessageValidator.h"
#include "MsgBox.h"
#include "Program.h"
#include "RuntimeError.h"
#include "TabControl.h"
#include "Twips.h"

#include <QApplication>
#include <QLineEdit>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QToolTip>

#include <limits>

using namespace Bas_Comm;
namespace d = designed::frm_setup;

namespace {

constexpr std::int32_t ButtonText = std::int32_t(0x80000012);

void place(QWidget *widget, const designed::Rect &r)
{
    widget->setGeometry(runtime::pixelRect(r.left, r.top, r.width, r.height));
}

std::unique_ptr<runtime::Label> captionLabel(runtime::LabelHost *page, const QString &caption,
                                             const designed::Rect &r)
{
    auto label = std::make_unique<runtime::Label>(page);
    label->setFont(runtime::designedFont(d::DialogFontSize));
    label->setForeColor(ButtonText);
    label->setOpaque(false);
    label->setCaption(caption);
    label->setGeometry(r.left, r.top, r.width, r.height);
    label->setAutoSize(true);
    return label;
}

std::unique_ptr<runtime::Label> colourBox(runtime::LabelHost *page, std::int32_t colour,
                                          const designed::Rect &r)
{
    auto label = std::make_unique<runtime::Label>(page);
    label->setGeometry(r.left, r.top, r.width, r.height);
    label->setBackColor(colour);
    label->setBorder(true);
    return label;
}

} // namespace

Frm_Setup::Frm_Setup()
{
    createControls();
}

Frm_Setup::~Frm_Setup() = default;

void Frm_Setup::createControls()
{
    setCaption(d::Caption);
    setWindowIcon(designed::programIcon());
    setFont(runtime::designedFont(d::DialogFontSize));
    setBackColor(std::int32_t(0x8000000F));
    setClientSize(d::ClientWidth, d::ClientHeight);
    setFixedBorder(true);

    Tab_Setup =
        new runtime::TabControl({d::TabCaptions[0], d::TabCaptions[1], d::TabCaptions[2]}, this);
    place(Tab_Setup, d::TabSetup);
    Tab_Setup->Click = [this](int previous) { Tab_Setup_Click(previous); };

    createMessagePage();
    createSpeedPage();
    createColourPage();

    Cmd_Ok = new runtime::CommandButton(d::CmdOkCaption, this);
    place(Cmd_Ok, d::CmdOk);
    Cmd_Ok->Click = [this] { Cmd_Ok_Click(); };
    Cmd_Cansel = new runtime::CommandButton(d::CmdCanselCaption, this);
    place(Cmd_Cansel, d::CmdCansel);
    Cmd_Cansel->Click = [this] { Cmd_Cansel_Click(); };

    // Esc anywhere in the dialog clicks the cancel button.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, Cmd_Cansel, &QPushButton::click);

    setTabOrder();
}

void Frm_Setup::createMessagePage()
{
    runtime::LabelHost *page = Tab_Setup->page(0);
    Lbl_Title1 = captionLabel(page, d::LblTitle1Caption, d::LblTitle1);

    Txt_Data = new QLineEdit(page);
    place(Txt_Data, d::TxtData);
    Txt_Data->setFont(runtime::designedFont(d::TxtDataFontSize));
    Txt_Data->setMaxLength(std::numeric_limits<int>::max());
    m_validator = new MessageValidator(Txt_Data);
    Txt_Data->setValidator(m_validator);
    connect(Txt_Data, &QLineEdit::inputRejected, this, &Frm_Setup::showRefusal);
    m_validator->Substituted = [this](const QString &typed, const QString &stored) {
        showNotice(QStringLiteral("「%1」は「%2」として保存されます。").arg(typed, stored));
    };
}

void Frm_Setup::createSpeedPage()
{
    runtime::LabelHost *page = Tab_Setup->page(1);
    Lbl_Title2 = captionLabel(page, d::LblTitle2Caption, d::LblTitle2);
    Lbl_Title3 = captionLabel(page, d::LblTitle3Caption, d::LblTitle3);

    Sld_Speed = new QSlider(Qt::Horizontal, page);
    place(Sld_Speed, d::SldSpeed);
    Sld_Speed->setRange(d::SpeedMin, d::SpeedMax);
    Sld_Speed->setSingleStep(300);
    Sld_Speed->setPageStep(3000);
    Sld_Speed->setTickPosition(QSlider::TicksBelow);
    Sld_Speed->setTickInterval(3000);
    Sld_Speed->setFocusPolicy(Qt::ClickFocus);
    connect(Sld_Speed, &QSlider::valueChanged, this,
            [this] { runtime::dispatch([this] { Sld_Speed_Change(); }); });
}

void Frm_Setup::createColourPage()
{
    runtime::LabelHost *page = Tab_Setup->page(2);
    Lbl_Title_Fore = captionLabel(page, d::LblTitleForeCaption, d::LblTitleFore);
    Lbl_Title_Fore_Color = colourBox(page, d::PreviewBackColor, d::LblTitleForeColor);
    Lbl_Title_Back = captionLabel(page, d::LblTitleBackCaption, d::LblTitleBack);
    Lbl_Title_Back_Color = colourBox(page, d::PreviewBackColor, d::LblTitleBackColor);

    for (std::int16_t i = 0; i < 8; ++i) {
        const float left = d::SwatchLeft + d::SwatchPitch * float(i);
        Lbl_Fore_Color[i] =
            colourBox(page, d::Palette[i], {left, d::ForeSwatchTop, d::SwatchSize, d::SwatchSize});
        Lbl_Fore_Color[i]->Click = [this, i] { Lbl_Fore_Color_Click(i); };
        Lbl_Back_Color[i] =
            colourBox(page, d::Palette[i], {left, d::BackSwatchTop, d::SwatchSize, d::SwatchSize});
        Lbl_Back_Color[i]->Click = [this, i] { Lbl_Back_Color_Click(i); };
    }
}

void Frm_Setup::setTabOrder()
{
    // Tab strip, text box, slider, ＯＫ, キャンセル; the page's own handler
    // decides which of the two inputs the Tab key stops at.
    QWidget::setTabOrder(Tab_Setup->strip(), Txt_Data);
    QWidget::setTabOrder(Txt_Data, Sld_Speed);
    QWidget::setTabOrder(Sld_Speed, Cmd_Ok);
    QWidget::setTabOrder(Cmd_Ok, Cmd_Cansel);
    Txt_Data->setFocusPolicy(Qt::StrongFocus);
    Tab_Setup->strip()->setFocus();
}

void Frm_Setup::Form_Load()
{
    const SignWindow *sign = signWindow();
    setTop(sign ? sign->Top() : 0);
    setLeft(sign ? sign->Left() : 0);
    Txt_Data->setText(SignSettings.DataText);
    New_Speed = SignSettings.Speed;
    {
        // Out of range (a hand-edited file), the slider shows the nearer end,
        // while New_Speed keeps Speed until the user moves the slider.
        const QSignalBlocker quiet(Sld_Speed);
        Sld_Speed->setValue(std::int32_t(SignSettings.Speed));
    }
    Lbl_Title_Fore_Color->setBackColor(SignSettings.ForeColor);
    Lbl_Title_Back_Color->setBackColor(SignSettings.BackColor);
}

void Frm_Setup::Lbl_Fore_Color_Click(std::int16_t index)
{
    Lbl_Title_Fore_Color->setBackColor(Lbl_Fore_Color.at(std::size_t(index))->BackColor());
}

void Frm_Setup::Lbl_Back_Color_Click(std::int16_t index)
{
    Lbl_Title_Back_Color->setBackColor(Lbl_Back_Color.at(std::size_t(index))->BackColor());
}

void Frm_Setup::Sld_Speed_Change()
{
    New_Speed = runtime::toInt16(Sld_Speed->value());
}

void Frm_Setup::Tab_Setup_Click(int)
{
    Txt_Data->setFocusPolicy(Qt::ClickFocus);
    Sld_Speed->setFocusPolicy(Qt::ClickFocus);
    const int page = Tab_Setup->Tab();
    if (page == 0)
        Txt_Data->setFocusPolicy(Qt::StrongFocus);
    else if (page == 1)
        Sld_Speed->setFocusPolicy(Qt::StrongFocus);
}

void Frm_Setup::Cmd_Ok_Click()
{
    try {
        SignSettings.DataText = Txt_Data->text();
        SignSettings.Speed = New_Speed;
        SignSettings.ForeColor = Lbl_Title_Fore_Color->BackColor();
        SignSettings.BackColor = Lbl_Title_Back_Color->BackColor();
        if (Ini_Write() && Data_Write()) {
            Disp_Set();
            if (SignWindow *sign = signWindow())
                sign->Show();
            Unload();
            return;
        }
    } catch (const runtime::RuntimeError &) {
    }
    runtime::MsgBox(QStringLiteral("設定の更新に失敗しました"), 16,
                    QStringLiteral("エラーメッセージ"));
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

void Frm_Setup::showRefusal()
{
    QApplication::beep();
    showNotice(m_validator->lastRefusal());
}

void Frm_Setup::showNotice(const QString &text)
{
    // Above the text box, clear of the buttons below it: a tooltip opens some
    // 16 pixels below the point it is given.
    const int above = 16 + QFontMetrics(QToolTip::font()).height() + 12;
    QToolTip::showText(Txt_Data->mapToGlobal(QPoint(0, -above)), text, Txt_Data);
}
