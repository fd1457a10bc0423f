// ppgControl: icon size option buttons in the library's own order, a free
// size, and the colour depths of the image list.
#include "controls/ppgControl.h"

#include "controls/qvImageList.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quorvantell {

namespace {

constexpr std::pair<int, const char*> kSizes[] = {
    {48, "&48 x 48"}, {72, "&72 x 72"}, {24, "&24 x 24"}, {32, "&32 x 32"}, {16, "&16 x 16"},
};

constexpr std::pair<int, const char*> kDepths[] = {
    {qvImageList::ILC_COLOR, "Default"},           {qvImageList::ILC_COLOR4, "16 colours (4 bit)"},
    {qvImageList::ILC_COLOR8, "256 colours (8 bit)"}, {qvImageList::ILC_COLOR16, "High colour (16 bit)"},
    {qvImageList::ILC_COLOR24, "True colour (24 bit)"}, {qvImageList::ILC_COLOR32, "True colour with alpha (32 bit)"},
};

// The default depth stands for 4 bits when depths are compared.
int Bits(int depth)
{
    return depth == qvImageList::ILC_COLOR ? qvImageList::ILC_COLOR4 : depth;
}

}  // namespace

ppgControl::ppgControl(qvImageList* list, QWidget* parent)
    : QDialog(parent), m_list(list), m_sizes(new QButtonGroup(this)), m_width(new QSpinBox), m_height(new QSpinBox),
      m_depth(new QComboBox)
{
    setWindowTitle(tr("Control"));
    auto* sizeBox = new QGroupBox(tr("Icon size"));
    auto* sizeLayout = new QVBoxLayout(sizeBox);
    for (const auto& [size, text] : kSizes) {
        auto* option = new QRadioButton(tr(text));
        m_sizes->addButton(option, size);
        sizeLayout->addWidget(option);
    }
    auto* custom = new QRadioButton(tr("&Custom:"));
    m_sizes->addButton(custom, kCustom);
    auto* customRow = new QHBoxLayout;
    customRow->addWidget(custom);
    // The range lets a wrong size be typed, so that it can be refused.
    for (QSpinBox* box : {m_width, m_height})
        box->setRange(0, 9999);
    customRow->addWidget(m_width);
    customRow->addWidget(new QLabel(QStringLiteral("x")));
    customRow->addWidget(m_height);
    sizeLayout->addLayout(customRow);
    for (const auto& [depth, text] : kDepths)
        m_depth->addItem(tr(text), depth);
    auto* form = new QFormLayout;
    form->addRow(tr("Colour &depth:"), m_depth);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply);
    connect(buttons, &QDialogButtonBox::accepted, this, &ppgControl::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ppgControl::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &ppgControl::ApplyChanges);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sizeBox);
    layout->addLayout(form);
    layout->addWidget(buttons);
    ShowList();
}

void ppgControl::ShowList()
{
    const int width = m_list->IconSizeX();
    const int height = m_list->IconSizeY();
    QAbstractButton* fixed = width == height ? m_sizes->button(width) : nullptr;
    (fixed ? fixed : m_sizes->button(kCustom))->setChecked(true);
    m_width->setValue(width);
    m_height->setValue(height);
    m_depth->setCurrentIndex(m_depth->findData(int(m_list->ColourDepth())));
}

bool ppgControl::Confirmed(const QString& question)
{
    return QMessageBox::question(this, QCoreApplication::applicationName(), question) == QMessageBox::Yes;
}

bool ppgControl::ApplySize()
{
    const int chosen = m_sizes->checkedId();
    const int width = chosen == kCustom ? m_width->value() : chosen;
    const int height = chosen == kCustom ? m_height->value() : chosen;
    if (width < 1 || width > ImageListData::kMaxSide || height < 1 || height > ImageListData::kMaxSide) {
        QMessageBox::warning(this, QCoreApplication::applicationName(), tr("Please enter a valid icon size."));
        return false;
    }
    if (width == m_list->IconSizeX() && height == m_list->IconSizeY())
        return true;
    if (m_list->ImageCount() > 0 &&
        !Confirmed(tr("Changing size of the image list will distort any images you have added.") +
                   QStringLiteral("\n\n") + tr("Are you sure you want to do this?")))
        return true;
    m_list->SetIconSizeX(width);
    m_list->SetIconSizeY(height);
    return true;
}

void ppgControl::ApplyDepth()
{
    const auto depth = qvImageList::eilColourDepth(m_depth->currentData().toInt());
    if (depth == m_list->ColourDepth())
        return;
    if (m_list->ImageCount() > 0 && Bits(depth) < Bits(m_list->ColourDepth()) &&
        !Confirmed(tr("Warning - decreasing the colour depth may affect images already stored in the control.  "
                      "Are you sure you want to do this?")))
        return;
    m_list->SetColourDepth(depth);
}

bool ppgControl::ApplyChanges()
{
    if (!ApplySize())
        return false;
    ApplyDepth();
    ShowList();
    return true;
}

void ppgControl::accept()
{
    if (ApplyChanges())
        QDialog::accept();
}

}  // namespace quorvantell
