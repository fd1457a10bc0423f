// frmOptions: the modal "Options" dialog, in which every user-visible setting
// is edited - colours, fonts, tray and taskbar, window dragging and
// snapping, time offset and tolerances, the dot-file filter, FTP behaviour,
// the error policy and log file, priority, recent folders, the script-file
// association and saving at exit. A category tree on the left picks one of
// eleven pages. "OK" and "Appl&y" put the settings in force at once (the
// store gets them only at exit); "Cancel" leaves what was applied.
//
// Pages and controls are built in frmOptionsPages.cpp; reading, checking and
// applying the settings is in frmOptionsApply.cpp.
#pragma once

#include "app/views/CFormUtils.h"

#include <QDialog>

#include <cstdint>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace velloran {

class CSync;
class frmMain;

class frmOptions : public QDialog {
    Q_OBJECT

public:
    // Tools > "&Options": a new dialog over the main window, shown modally;
    // returns when it is closed.
    static void Show(frmMain& owner);
    // The open dialog, or null.
    static frmOptions* Instance();

    // Loads the dialog (not shown) with the settings of owner's controller.
    explicit frmOptions(frmMain& owner);
    ~frmOptions() override;

    // The dialog's own colours and fonts from the settings.
    void CheckColors();
    void CheckFonts();
    // Shows the node's page with its title and description; nothing when
    // that page is shown already.
    void NodeClick(QTreeWidgetItem* node);

    // The controls by their names, for the tests and the gallery. A
    // changed-flag is the "Tag" property of its control: "True" or "False".
    QTreeWidget* tvwOptions() const;
    QWidget* pic(int index) const;
    QLabel* lbl(int index) const;
    QFrame* shp(int index) const;
    QCheckBox* chk(int index) const;
    QPushButton* cmd(int index) const;
    QLineEdit* txt(int index) const;
    QRadioButton* opt(int index) const;
    QSlider* sld(int index) const;
    QSpinBox* spnConnections() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    struct Controls;

    // frmOptionsPages.cpp: the controls of the dialog and of each page.
    void CreateControls();
    void CreateAppearancePages();
    void CreateBehaviourPages();
    void CreateSetupPages();
    void ConnectControls();
    void Arrange();
    void Load(frmMain& owner);
    void BuildCategoryTree();

    // frmOptionsApply.cpp.
    void ReadOptions();
    void ApplyOptions();
    void ApplyColorsAndFonts();
    template <typename Check>
    void EachOpenWindow(const Check& check);
    void ApplyFont(int holder);
    void ApplyBehaviour();
    // The three validated boxes: the text made a number and clamped to
    // the box's range.
    void Validate(int box);
    void ShowInTrayClicked();
    void UseEasyMoveClicked();
    void SnapToEdgesClicked();
    void SelectSwatchColor(int swatch, int button);
    void ChooseFont(int holder, int button);
    void BrowseLogFile();
    void UpdateAssociation();
    void SetFill(int swatch, uint32_t colour);
    void SetChanged(QWidget* control, bool changed);
    bool Changed(const QWidget* control) const;

    void TreeMousePressed(QObject* watched, QEvent* event);
    void Unload();

    frmMain& m_owner;
    CSync& m_sync;
    std::unique_ptr<Controls> m_controls;
    CFormUtils formUtils;
    bool m_unloaded = false;
};

}  // namespace velloran
