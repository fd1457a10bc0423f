// frmOptions: loading and unloading, the category tree and its pages, the
// dialog's colours and fonts, and the events of the tree and the text boxes.
#include "app/windows/frmOptions.h"

#include "app/engine/CSync.h"
#include "app/shell/MGeneral.h"
#include "app/shell/frmMain.h"
#include "app/windows/frmOptionsControls.h"
#include "classlib/general/ClassLibrary.h"
#include "classlib/misc/CControls.h"
#include "controls/OleColor.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QSpinBox>
#include <QTimer>
#include <QTreeWidget>

#include <map>
#include <string>

namespace velloran {

namespace {

QPointer<frmOptions> g_instance;

// The page descriptions, by page number.
constexpr const char* kPageTags[kPageCount] = {
    "Change the appearance of the display",
    "Change the colors used in Velloran",
    "Change the fonts used in Velloran",
    "Configure Velloran's behaviour",
    "Configure various windows features",
    "Configure settings to do with windows explorer",
    "Configure Velloran's priority",
    "Configure Velloran's environment settings",
    "Configure Velloran's environment settings",
    "Configure filter settings",
    "Configure Velloran's time settings",
};

// The page of a node: the leading number of its key.
int PageOf(const QTreeWidgetItem* node)
{
    const std::string key = CTreeView::KeyOf(node);
    int page = 0;
    for (size_t i = 0; i < key.size() && key[i] >= '0' && key[i] <= '9'; ++i)
        page = page * 10 + (key[i] - '0');
    return page < kPageCount ? page : 0;
}

}  // namespace

void frmOptions::Show(frmMain& owner)
{
    frmOptions dialog(owner);
    dialog.exec();
}

frmOptions* frmOptions::Instance()
{
    return g_instance;
}

frmOptions::frmOptions(frmMain& owner)
    : QDialog(&owner), m_owner(owner), m_sync(owner.Sync()), m_controls(std::make_unique<Controls>())
{
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    CreateControls();
    ConnectControls();
    Load(owner);
    g_instance = this;
}

frmOptions::~frmOptions()
{
    Unload();
}

void frmOptions::Load(frmMain& owner)
{
    Controls& c = *m_controls;
    formUtils.Init(this);
    formUtils.ZOnTop(m_sync.Options.OnTop);
    c.img->setPixmap(owner.windowIcon().pixmap(c.img->size()));
    c.tree.Init(c.tvwOptions);
    BuildCategoryTree();
    const QColor face = palette().color(QPalette::Button);
    for (QWidget* page : c.pic) {
        QPalette background = page->palette();
        background.setColor(QPalette::Window, face);
        page->setPalette(background);
    }
    c.tvwOptions->setCurrentItem(c.tvwOptions->topLevelItem(0));
    NodeClick(c.tvwOptions->topLevelItem(0));
    c.tvwOptions->setFocus();
    for (const int i : {0, 1, 4})
        quorvantell::ClassLibrary::Shared().Controls->TextSetNumberOnly(c.txt[i]);
    // Dragging by the background: the dialog, its pages, frames and labels.
    formUtils.AddDragSurface(this);
    for (QWidget* page : c.pic) {
        formUtils.AddDragSurface(page);
        for (QWidget* surface : page->findChildren<QGroupBox*>())
            formUtils.AddDragSurface(surface);
    }
    for (QLabel* label : findChildren<QLabel*>())
        formUtils.AddDragSurface(label);
    CheckColors();
    CheckFonts();
    ReadOptions();
}

void frmOptions::BuildCategoryTree()
{
    Controls& c = *m_controls;
    std::map<std::string, QTreeWidgetItem*> added;
    for (const OptionsNode& node : kOptionsNodes) {
        auto* item = *node.parent == '\0' ? new QTreeWidgetItem(c.tvwOptions) : new QTreeWidgetItem(added[node.parent]);
        item->setText(0, QString::fromUtf8(node.text));
        CTreeView::SetKey(item, node.key);
        added[node.key] = item;
    }
    for (const char* root : {"0A", "3A", "5A"})
        added[root]->setExpanded(true);
}

void frmOptions::NodeClick(QTreeWidgetItem* node)
{
    Controls& c = *m_controls;
    if (node == nullptr)
        return;
    const int page = PageOf(node);
    if (c.pic[page]->isVisibleTo(this))
        return;
    c.lbl[11]->setText(node->text(0));
    c.lbl[12]->setText(QString::fromUtf8(kPageTags[page]));
    for (QWidget* p : c.pic)
        p->hide();
    c.pic[page]->show();
}

void frmOptions::TreeMousePressed(QObject* watched, QEvent* event)
{
    Controls& c = *m_controls;
    if (watched != c.tvwOptions->viewport() || event->type() != QEvent::MouseButtonPress)
        return;
    QTreeWidgetItem* node = c.tvwOptions->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (node == nullptr)
        return;
    c.tvwOptions->setCurrentItem(node);
    NodeClick(node);
}

void frmOptions::CheckColors()
{
    Controls& c = *m_controls;
    const OptionsRecord& o = m_sync.Options;
    c.tree.SetBackColor(o.BackgroundColor);
    c.tree.SetForeColor(o.TextColor);
    for (QLineEdit* box : c.txt)
        MGeneral::SetFieldColors(box, o.BackgroundColor, o.TextColor);
    MGeneral::SetFieldColors(c.spnConnections, o.BackgroundColor, o.TextColor);
    QPalette title = c.shp[2]->palette();
    title.setColor(QPalette::Window, quorvantell::OleColor::ToQColor(o.BackgroundColor));
    title.setColor(QPalette::WindowText, quorvantell::OleColor::ToQColor(o.TextColor));
    c.shp[2]->setPalette(title);
    for (const int i : {11, 12})
        c.lbl[i]->setPalette(title);
}

void frmOptions::CheckFonts()
{
    const std::optional<QFont> font = MGeneral::OtherFont(m_sync);
    if (!font)
        return;
    for (QLineEdit* box : m_controls->txt)
        box->setFont(*font);
    m_controls->spnConnections->setFont(*font);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    Controls& c = *m_controls;
    TreeMousePressed(watched, event);
    for (int i = 0; i < 5; ++i) {
        if (watched != c.txt[i])
            continue;
        if (event->type() == QEvent::FocusIn)  // after the click that would place the cursor
            QTimer::singleShot(0, c.txt[i], &QLineEdit::selectAll);
        else if (event->type() == QEvent::FocusOut && i <= 2)
            Validate(i);
        else if (event->type() == QEvent::MouseButtonDblClick && i == 3)
            BrowseLogFile();
    }
    return QDialog::eventFilter(watched, event);
}

void frmOptions::done(int result)
{
    Unload();
    QDialog::done(result);
}

void frmOptions::Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    formUtils.Terminate();
    if (g_instance == this)
        g_instance = nullptr;
}

QTreeWidget* frmOptions::tvwOptions() const { return m_controls->tvwOptions; }
QWidget* frmOptions::pic(int index) const { return m_controls->pic[index]; }
QLabel* frmOptions::lbl(int index) const { return m_controls->lbl[index]; }
QFrame* frmOptions::shp(int index) const { return m_controls->shp[index]; }
QCheckBox* frmOptions::chk(int index) const { return m_controls->chk[index]; }
QPushButton* frmOptions::cmd(int index) const { return m_controls->cmd[index]; }
QLineEdit* frmOptions::txt(int index) const { return m_controls->txt[index]; }
QRadioButton* frmOptions::opt(int index) const { return m_controls->opt[index]; }
QSlider* frmOptions::sld(int index) const { return m_controls->sld[index]; }
QSpinBox* frmOptions::spnConnections() const { return m_controls->spnConnections; }

}  // namespace velloran
