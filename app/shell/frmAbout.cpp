// frmAbout: a small fixed layout of icon, title, version and button.
#include "app/shell/frmAbout.h"

#include "app/engine/ProgramInfo.h"
#include "app/shell/ProgramIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velloran {

namespace {

constexpr int kIconSize = 64;

// "v" followed by major.minor.revision.
QString VersionText()
{
    return QStringLiteral("v" VELLORAN_VERSION);
}

}  // namespace

frmAbout::frmAbout(QWidget* owner) : QDialog(owner)
{
    const QString title = QString::fromUtf8(kProgramTitle);
    setWindowTitle(QStringLiteral("About ") + title);
    setWindowIcon(ProgramIcon());

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    auto* name = new QLabel(title, this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(VersionText(), this);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmAbout::Show(QWidget* owner)
{
    frmAbout box(owner);
    box.exec();
}

}  // namespace velloran
