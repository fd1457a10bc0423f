// The image list's property pages as the user drives them: the size and
// depth questions and the size message of ppgControl; the open dialog, the
// animated-cursor question, the could-not-be-loaded message, moving,
// removing, keys and the transparent colour of ppgImages.
#include "controls/ppgControl.h"
#include "controls/ppgImages.h"
#include "controls/qvImageList.h"
#include "tests/gui/support/MessageBoxes.h"
#include "tests/gui/support/ModalDialog.h"
#include "tests/gui/support/PictureFiles.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using quorvantell::ppgControl;
using quorvantell::ppgImages;
using quorvantell::qvImageList;
using namespace velloran::test;

namespace {

const QString kSizeQuestion = QStringLiteral(
    "Changing size of the image list will distort any images you have added.\n\nAre you sure you want to do this?");
const QString kDepthQuestion = QStringLiteral(
    "Warning - decreasing the colour depth may affect images already stored in the control.  Are you sure you want "
    "to do this?");

QAbstractButton* Button(QWidget& page, const QString& text)
{
    for (QAbstractButton* button : page.findChildren<QAbstractButton*>()) {
        if (button->text() == text)
            return button;
    }
    qFatal("no button %s", qPrintable(text));
}

}  // namespace

class ImageListPagesTest : public QObject {
    Q_OBJECT

private slots:
    void controlPageAsksBeforeChangingAListWithImages()
    {
        qvImageList list;
        QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFFFF0000), qvImageList::IMAGE_ICON, "a"));
        list.SetColourDepth(qvImageList::ILC_COLOR32);
        ppgControl page(&list);
        QStringList sizes;
        for (QRadioButton* option : page.findChildren<QRadioButton*>())
            sizes << option->text();
        QCOMPARE(sizes.mid(0, 5), QStringList({"&48 x 48", "&72 x 72", "&24 x 24", "&32 x 32", "&16 x 16"}));
        QVERIFY(Button(page, "&16 x 16")->isChecked());

        auto* depth = page.findChild<QComboBox*>();
        Button(page, "&32 x 32")->click();
        depth->setCurrentIndex(depth->findData(8));
        {
            Boxes boxes({QMessageBox::No, QMessageBox::No});
            QVERIFY(page.ApplyChanges());
            QCOMPARE(boxes.texts, (std::vector<QString>{kSizeQuestion, kDepthQuestion}));
        }
        QCOMPARE(list.IconSizeX(), 16);
        QCOMPARE(list.ColourDepth(), qvImageList::ILC_COLOR32);
        Button(page, "&32 x 32")->click();
        depth->setCurrentIndex(depth->findData(8));
        {
            Boxes boxes({QMessageBox::Yes, QMessageBox::Yes});
            QVERIFY(page.ApplyChanges());
            QCOMPARE(boxes.texts.size(), size_t(2));
        }
        QCOMPARE(QSize(list.IconSizeX(), list.IconSizeY()), QSize(32, 32));
        QCOMPARE(list.ColourDepth(), qvImageList::ILC_COLOR8);
        QCOMPARE(list.ItemPicture("a").size(), QSize(32, 32));

        // Raising the depth and any change to an empty list ask nothing.
        depth->setCurrentIndex(depth->findData(24));
        {
            Boxes boxes({});
            QVERIFY(page.ApplyChanges());
            QVERIFY(boxes.texts.empty());
        }
        QCOMPARE(list.ColourDepth(), qvImageList::ILC_COLOR24);
    }

    void controlPageRefusesAWrongFreeSize()
    {
        qvImageList list;
        ppgControl page(&list);
        Button(page, "&Custom:")->click();
        const auto boxes = page.findChildren<QSpinBox*>();
        boxes[0]->setValue(20);
        boxes[1]->setValue(0);
        {
            Boxes messages({});
            QVERIFY(!page.ApplyChanges());
            QCOMPARE(messages.texts, std::vector<QString>{QStringLiteral("Please enter a valid icon size.")});
        }
        boxes[1]->setValue(40);
        QVERIFY(page.ApplyChanges());
        QCOMPARE(QSize(list.IconSizeX(), list.IconSizeY()), QSize(20, 40));
    }

    void imagesPageAddsThroughTheOpenDialogAndAsksAboutFrames()
    {
        TempFolder folder;
        const QByteArray ani = AnimatedCursor({Cursor(0xFFFF0000), Cursor(0xFF00FF00), Cursor(0xFF0000FF)});
        const QString cursor = Write(folder, "spin.ani", ani);
        qvImageList list;
        ppgImages page(&list);
        QString title;
        QStringList filters;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            dialog->selectFile(cursor);
            static_cast<QDialog*>(dialog)->accept();
        });
        {
            Boxes boxes({QMessageBox::Yes});
            Button(page, "&Add...")->click();
            QCOMPARE(boxes.texts, std::vector<QString>{
                                      QStringLiteral("Do you want to load all frames of the animated cursor file 'spin.ani'?")});
        }
        QCOMPARE(title, QStringLiteral("Choose Icon to add"));
        QVERIFY(filters.value(0).startsWith("ImageList Pictures (*.ICO *.CUR *.ANI *.BMP *.GIF"));
        QCOMPARE(list.ImageCount(), 3);
        {
            Boxes boxes({QMessageBox::No});
            QVERIFY(page.AddFile(cursor));
        }
        QCOMPARE(list.ImageCount(), 4);

        const QString bad = Write(folder, "bad.ico", "not an icon");
        Boxes boxes({});
        QVERIFY(!page.AddFile(bad));
        QCOMPARE(boxes.texts, std::vector<QString>{QStringLiteral(
                                  "The file 'bad.ico' could not be loaded.  Please check whether this is a valid image.")});
        QCOMPARE(list.ImageCount(), 4);
    }

    void imagesPageTransparentColourFromTheChoiceOrTheTopLeftPixel()
    {
        TempFolder folder;
        QImage picture = Filled({16, 16}, 0xFF00FF00);
        picture.setPixel(0, 0, 0xFF123456);
        picture.setPixel(5, 5, 0xFFFF00FF);
        const QString bmp = Write(folder, "p.bmp", Bmp(picture));
        qvImageList list;
        list.SetColourDepth(qvImageList::ILC_COLOR24);
        ppgImages page(&list);
        QVERIFY(page.AddFile(bmp));  // the default colour, magenta
        QCOMPARE(list.ItemPicture(1).pixel(5, 5), 0u);
        QCOMPARE(list.ItemPicture(1).pixel(0, 0), 0xFF123456u);
        Button(page, "&Set Automatically from Top-Left Pixel of Image")->click();
        QVERIFY(!page.TransparentColour().isValid());
        QVERIFY(page.AddFile(bmp));
        QCOMPARE(list.ItemPicture(2).pixel(0, 0), 0u);
        QCOMPARE(list.ItemPicture(2).pixel(5, 5), 0xFFFF00FFu);
    }

    void imagesPageMovesRemovesAndEditsKeys()
    {
        qvImageList list;
        for (const char* key : {"a", "b", "c"})
            QVERIFY(list.AddFromHandle(Filled({16, 16}, 0xFFFF0000), qvImageList::IMAGE_ICON, key));
        ppgImages page(&list);
        auto* images = page.findChild<QListWidget*>();
        QCOMPARE(images->count(), 3);
        images->setCurrentRow(0);
        QVERIFY(!Button(page, "<<")->isEnabled());
        Button(page, ">>")->click();
        Button(page, ">>")->click();
        QCOMPARE(Keys(list), QStringList({"b", "c", "a"}));
        QCOMPARE(images->currentRow(), 2);
        QVERIFY(!Button(page, ">>")->isEnabled());
        Button(page, "<<")->click();
        QCOMPARE(Keys(list), QStringList({"b", "a", "c"}));

        auto* key = page.findChild<QLineEdit*>();
        QCOMPARE(key->text(), QStringLiteral("a"));
        {
            Boxes boxes({});
            key->setText("c");
            emit key->editingFinished();
            QCOMPARE(boxes.texts, std::vector<QString>{QStringLiteral("The key 'c' is used by another image already.")});
        }
        QCOMPARE(key->text(), QStringLiteral("a"));
        key->setText("x");
        emit key->editingFinished();
        QCOMPARE(Keys(list), QStringList({"b", "x", "c"}));

        Button(page, "&Remove")->click();
        QCOMPARE(Keys(list), QStringList({"b", "c"}));
        const QString question = QStringLiteral("Are you sure you want to remove all icons?");
        {
            Boxes boxes({QMessageBox::No});
            Button(page, "Remove A&ll")->click();
            QCOMPARE(boxes.texts, std::vector<QString>{question});
        }
        QCOMPARE(list.ImageCount(), 2);
        {
            Boxes boxes({QMessageBox::Yes});
            Button(page, "Remove A&ll")->click();
        }
        QCOMPARE(list.ImageCount(), 0);
        QCOMPARE(images->count(), 0);
        QVERIFY(!Button(page, "Remove A&ll")->isEnabled());
    }
};

QTEST_MAIN(ImageListPagesTest)
#include "ImageListPagesTest.moc"
