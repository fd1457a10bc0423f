// ppgImages: the property page of a qvImageList's images - adding pictures
// from files (all frames of an animated cursor when the user wants them),
// moving them up and down, removing one or all, editing each image's key and
// choosing the colour that becomes transparent in bitmaps. Every change
// goes to the list at once.
#pragma once

#include <QColor>
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace quorvantell {

class qvImageList;

class ppgImages : public QDialog {
    Q_OBJECT

public:
    explicit ppgImages(qvImageList* list, QWidget* parent = nullptr);

    // Adds the file's pictures after the selected image, asking what the
    // user wants of an animated cursor; false (after the message) when it
    // holds no picture the list can take.
    bool AddFile(const QString& fileName);
    // The colour bitmaps lose: the chosen one, or none in automatic mode.
    QColor TransparentColour() const;
    void SetTransparentColour(const QColor& colour);

private:
    void ChooseFiles();
    void Move(int step);
    void RemoveSelected();
    void RemoveAll();
    void KeyEdited();
    void ChooseColour();
    void ShowImages(int selected);
    void ShowSelected();
    int Selected() const;  // 1-based, 0 when none
    uint32_t BackColour(const QString& fileName, bool bitmap) const;
    void Tell(const QString& text);

    qvImageList* m_list;
    QListWidget* m_images;
    QLabel* m_index;
    QLineEdit* m_key;
    QPushButton* m_up;
    QPushButton* m_down;
    QPushButton* m_remove;
    QPushButton* m_removeAll;
    QRadioButton* m_useColour;
    QRadioButton* m_topLeft;
    QPushButton* m_colourButton;
    QColor m_colour = QColor(255, 0, 255);
};

}  // namespace quorvantell
