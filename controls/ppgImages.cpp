// ppgImages: the list of images with their indexes, the buttons around it,
// and the open dialog the pictures come from.
#include "controls/ppgImages.h"

#include "controls/ImageFileReader.h"
#include "controls/OleColor.h"
#include "controls/qvImageList.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvantell {

namespace {

// Name patterns are case-sensitive here, so each is given in both cases.
const char kFilter[] = "ImageList Pictures (*.ICO *.CUR *.ANI *.BMP *.GIF *.ico *.cur *.ani *.bmp *.gif)";

qvImageList::ImageTypes TypeOf(ImageFileReader::Kind kind)
{
    switch (kind) {
    case ImageFileReader::Bitmap: return qvImageList::IMAGE_BITMAP;
    case ImageFileReader::Icon: return qvImageList::IMAGE_ICON;
    default: return qvImageList::IMAGE_CURSOR;
    }
}

QIcon Swatch(const QColor& colour)
{
    QPixmap swatch(16, 16);
    swatch.fill(colour);
    return QIcon(swatch);
}

}  // namespace

ppgImages::ppgImages(qvImageList* list, QWidget* parent)
    : QDialog(parent), m_list(list), m_images(new QListWidget), m_index(new QLabel), m_key(new QLineEdit),
      m_up(new QPushButton(QStringLiteral("<<"))), m_down(new QPushButton(QStringLiteral(">>"))),
      m_remove(new QPushButton(tr("&Remove"))), m_removeAll(new QPushButton(tr("Remove A&ll"))),
      m_useColour(new QRadioButton(tr("Use Co&lour:"))),
      m_topLeft(new QRadioButton(tr("&Set Automatically from Top-Left Pixel of Image"))),
      m_colourButton(new QPushButton)
{
    setWindowTitle(tr("Images"));
    m_images->setViewMode(QListView::IconMode);
    m_images->setFlow(QListView::LeftToRight);
    m_images->setWrapping(false);
    m_images->setMovement(QListView::Static);
    m_images->setMinimumHeight(110);
    auto* add = new QPushButton(tr("&Add..."));
    auto* keyLabel = new QLabel(tr("&Key:"));
    keyLabel->setBuddy(m_key);
    m_useColour->setChecked(true);
    SetTransparentColour(m_colour);

    auto* grid = new QGridLayout;
    grid->addWidget(m_index, 0, 0);
    grid->addWidget(keyLabel, 0, 1);
    grid->addWidget(m_key, 0, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {add, m_up, m_down, m_remove, m_removeAll})
        buttons->addWidget(button);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(m_useColour);
    colourRow->addWidget(m_colourButton);
    colourRow->addWidget(m_topLeft);
    colourRow->addStretch();
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_images);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addLayout(colourRow);
    layout->addWidget(close);

    connect(add, &QPushButton::clicked, this, &ppgImages::ChooseFiles);
    connect(m_up, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(m_down, &QPushButton::clicked, this, [this] { Move(1); });
    connect(m_remove, &QPushButton::clicked, this, &ppgImages::RemoveSelected);
    connect(m_removeAll, &QPushButton::clicked, this, &ppgImages::RemoveAll);
    connect(m_key, &QLineEdit::editingFinished, this, &ppgImages::KeyEdited);
    connect(m_colourButton, &QPushButton::clicked, this, &ppgImages::ChooseColour);
    connect(m_images, &QListWidget::currentRowChanged, this, &ppgImages::ShowSelected);
    connect(close, &QDialogButtonBox::rejected, this, &ppgImages::accept);
    ShowImages(1);
}

QColor ppgImages::TransparentColour() const
{
    return m_useColour->isChecked() ? m_colour : QColor();
}

void ppgImages::SetTransparentColour(const QColor& colour)
{
    if (!colour.isValid()) {
        m_topLeft->setChecked(true);
        return;
    }
    m_colour = colour;
    m_useColour->setChecked(true);
    m_colourButton->setIcon(Swatch(colour));
}

void ppgImages::ChooseColour()
{
    const QColor colour = QColorDialog::getColor(m_colour, this);
    if (colour.isValid())
        SetTransparentColour(colour);
}

int ppgImages::Selected() const
{
    return m_images->currentRow() + 1;
}

void ppgImages::ShowImages(int selected)
{
    const QSignalBlocker blocker(m_images);
    m_images->clear();
    m_images->setIconSize(QSize(m_list->IconSizeX(), m_list->IconSizeY()));
    for (int index = 1; index <= m_list->ImageCount(); ++index)
        m_images->addItem(new QListWidgetItem(m_list->ItemCopyOfIcon(index), QString::number(index)));
    m_images->setCurrentRow(std::min(selected, int(m_list->ImageCount())) - 1);
    ShowSelected();
}

void ppgImages::ShowSelected()
{
    const int index = Selected();
    const int count = m_list->ImageCount();
    m_index->setText(index > 0 ? tr("Index: %1").arg(index) : QString());
    m_key->setText(m_list->ItemKey(index));
    m_key->setEnabled(index > 0);
    m_up->setEnabled(index > 1);
    m_down->setEnabled(index > 0 && index < count);
    m_remove->setEnabled(index > 0);
    m_removeAll->setEnabled(count > 0);
}

void ppgImages::Tell(const QString& text)
{
    QMessageBox::warning(this, QCoreApplication::applicationName(), text);
}

void ppgImages::ChooseFiles()
{
    QFileDialog dialog(this, tr("Choose Icon to add"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(tr(kFilter));
    if (dialog.exec() != QDialog::Accepted)
        return;
    for (const QString& file : dialog.selectedFiles())
        AddFile(file);
}

uint32_t ppgImages::BackColour(const QString& fileName, bool bitmap) const
{
    // Icons and cursors carry their own mask.
    if (!bitmap)
        return qvImageList::kNoColour;
    if (m_useColour->isChecked())
        return OleColor::FromQColor(m_colour);
    const std::vector<ImageFileReader::Frame> frames = ImageFileReader::Read(fileName, QSize(), false);
    return frames.empty() ? qvImageList::kNoColour : OleColor::FromQColor(frames.front().picture.pixelColor(0, 0));
}

bool ppgImages::AddFile(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const ImageFileReader::Kind kind = ImageFileReader::KindOf(fileName);
    const bool allFrames =
        kind == ImageFileReader::AnimatedCursor &&
        QMessageBox::question(this, QCoreApplication::applicationName(),
                              tr("Do you want to load all frames of the animated cursor file '") + name +
                                  QStringLiteral("'?")) == QMessageBox::Yes;
    const int before = m_list->ImageCount();
    const int after = Selected();
    const bool added = kind != ImageFileReader::Unknown &&
                       m_list->AddFromFile(fileName, TypeOf(kind), QString(), false,
                                           BackColour(fileName, kind == ImageFileReader::Bitmap),
                                           after > 0 ? QVariant(after) : QVariant(), allFrames);
    if (!added) {
        Tell(tr("The file '") + name + tr("' could not be loaded.  Please check whether this is a valid image."));
        return false;
    }
    ShowImages((after > 0 ? after : before) + 1);
    return true;
}

void ppgImages::Move(int step)
{
    const int index = Selected();
    if (index < 1 || !m_list->SwapOrCopyImage(index, index + step, qvImageList::eilSwap))
        return;
    ShowImages(index + step);
}

void ppgImages::RemoveSelected()
{
    const int index = Selected();
    if (index > 0 && m_list->RemoveImage(index))
        ShowImages(index);
}

void ppgImages::RemoveAll()
{
    if (QMessageBox::question(this, QCoreApplication::applicationName(),
                              tr("Are you sure you want to remove all icons?")) != QMessageBox::Yes)
        return;
    m_list->Clear();
    ShowImages(0);
}

void ppgImages::KeyEdited()
{
    const int index = Selected();
    const QString key = m_key->text();
    if (index < 1 || key == m_list->ItemKey(index))
        return;
    if (!m_list->SetItemKey(index, key)) {
        Tell(tr("The key '") + key + tr("' is used by another image already."));
        m_key->setText(m_list->ItemKey(index));
    }
}

}  // namespace quorvantell
