// Print dialog. The device-mode fields map onto QPrinter's settings:
// orientation, paper, copies, resolution, colour, duplex and collation.
#include "utils/PrintSetup.h"

#include "utils/QuorvantellUtils.h"
#include "utils/WidgetApp.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cstring>
#include <string>

namespace quorvantell::exports {

namespace {

constexpr int16_t DMORIENT_LANDSCAPE = 2;
constexpr int16_t DMCOLOR_MONOCHROME = 1, DMCOLOR_COLOR = 2;
constexpr int16_t DMDUP_SIMPLEX = 1, DMDUP_VERTICAL = 2, DMDUP_HORIZONTAL = 3;
constexpr int16_t DMPAPER_USER = 256;
constexpr size_t kMinimumDevModeSize = offsetof(DEVMODE, dmFields) + sizeof(uint32_t);

struct PaperEntry {
    int16_t id;
    QPageSize::PageSizeId size;
};

constexpr PaperEntry kPapers[] = {
    {1, QPageSize::Letter},       {3, QPageSize::Tabloid},      {4, QPageSize::Ledger},
    {5, QPageSize::Legal},        {6, QPageSize::Statement},    {7, QPageSize::Executive},
    {8, QPageSize::A3},           {9, QPageSize::A4},           {11, QPageSize::A5},
    {12, QPageSize::JisB4},       {13, QPageSize::JisB5},       {15, QPageSize::Quarto},
    {20, QPageSize::Comm10E},     {27, QPageSize::EnvelopeDL},  {28, QPageSize::EnvelopeC5},
    {34, QPageSize::EnvelopeB5},  {37, QPageSize::EnvelopeMonarch},
};

// The NUL-terminated name at a byte offset of the block, read within it.
std::string BlockString(const char* block, size_t size, uint16_t offset)
{
    if (offset >= size)
        return {};
    return std::string(block + offset, strnlen(block + offset, size - offset));
}

std::string DeviceName(const void* devNames, int32_t size, const DEVMODE& mode)
{
    if (devNames != nullptr && size >= static_cast<int32_t>(sizeof(DEVNAMES))) {
        DEVNAMES head;
        std::memcpy(&head, devNames, sizeof head);
        std::string name = BlockString(static_cast<const char*>(devNames), static_cast<size_t>(size), head.wDeviceOffset);
        if (!name.empty())
            return name;
    }
    return std::string(mode.dmDeviceName, strnlen(mode.dmDeviceName, sizeof mode.dmDeviceName));
}

void SelectPrinter(QPrinter& printer, const std::string& name)
{
    const QString wanted = QString::fromUtf8(name);
    if (!wanted.isEmpty() && QPrinterInfo::availablePrinterNames().contains(wanted))
        printer.setPrinterName(wanted);
}

void ApplyPaper(QPrinter& printer, int16_t paper)
{
    for (const PaperEntry& entry : kPapers) {
        if (entry.id == paper)
            printer.setPageSize(QPageSize(entry.size));
    }
}

void ApplyDevMode(const DEVMODE& mode, QPrinter& printer)
{
    if ((mode.dmFields & DM_ORIENTATION) != 0)
        printer.setPageOrientation(mode.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    if ((mode.dmFields & DM_PAPERSIZE) != 0)
        ApplyPaper(printer, mode.dmPaperSize);
    if ((mode.dmFields & DM_COPIES) != 0 && mode.dmCopies > 0)
        printer.setCopyCount(mode.dmCopies);
    if ((mode.dmFields & DM_PRINTQUALITY) != 0 && mode.dmPrintQuality > 0)
        printer.setResolution(mode.dmPrintQuality);
    if ((mode.dmFields & DM_COLOR) != 0)
        printer.setColorMode(mode.dmColor == DMCOLOR_MONOCHROME ? QPrinter::GrayScale : QPrinter::Color);
    if ((mode.dmFields & DM_DUPLEX) != 0)
        printer.setDuplex(mode.dmDuplex == DMDUP_VERTICAL     ? QPrinter::DuplexLongSide
                          : mode.dmDuplex == DMDUP_HORIZONTAL ? QPrinter::DuplexShortSide
                                                              : QPrinter::DuplexNone);
    if ((mode.dmFields & DM_COLLATE) != 0)
        printer.setCollateCopies(mode.dmCollate != 0);
}

void FillPaper(const QPrinter& printer, DEVMODE& mode)
{
    const QPageSize size = printer.pageLayout().pageSize();
    const auto known = std::find_if(std::begin(kPapers), std::end(kPapers),
                                    [&size](const PaperEntry& entry) { return entry.size == size.id(); });
    if (known != std::end(kPapers)) {
        mode.dmPaperSize = known->id;
        return;
    }
    const QSizeF millimetres = size.size(QPageSize::Millimeter);
    mode.dmPaperSize = DMPAPER_USER;
    mode.dmPaperWidth = static_cast<int16_t>(millimetres.width() * 10.0);
    mode.dmPaperLength = static_cast<int16_t>(millimetres.height() * 10.0);
}

void FillDevMode(const QPrinter& printer, DEVMODE& mode)
{
    const QByteArray name = printer.printerName().toUtf8();
    std::memset(mode.dmDeviceName, 0, sizeof mode.dmDeviceName);
    std::memcpy(mode.dmDeviceName, name.constData(), std::min<size_t>(name.size(), sizeof mode.dmDeviceName - 1));
    mode.dmFields |= DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_COLLATE;
    mode.dmOrientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : 1;
    FillPaper(printer, mode);
    mode.dmCopies = static_cast<int16_t>(printer.copyCount());
    mode.dmPrintQuality = static_cast<int16_t>(printer.resolution());
    mode.dmColor = printer.colorMode() == QPrinter::GrayScale ? DMCOLOR_MONOCHROME : DMCOLOR_COLOR;
    mode.dmDuplex = printer.duplex() == QPrinter::DuplexShortSide                                        ? DMDUP_HORIZONTAL
                    : printer.duplex() == QPrinter::DuplexLongSide || printer.duplex() == QPrinter::DuplexAuto ? DMDUP_VERTICAL
                                                                                                         : DMDUP_SIMPLEX;
    mode.dmCollate = printer.collateCopies() ? 1 : 0;
}

QAbstractPrintDialog::PrintDialogOptions DialogOptions(int32_t flags)
{
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintCollateCopies |
                                                        QAbstractPrintDialog::PrintShowPageSize;
    if ((flags & PD_NOSELECTION) == 0)
        options |= QAbstractPrintDialog::PrintSelection;
    if ((flags & PD_NOPAGENUMS) == 0)
        options |= QAbstractPrintDialog::PrintPageRange;
    if ((flags & (PD_HIDEPRINTTOFILE | PD_DISABLEPRINTTOFILE)) == 0)
        options |= QAbstractPrintDialog::PrintToFile;
    return options;
}

void StartRange(QPrintDialog& dialog, int32_t flags)
{
    if ((flags & PD_SELECTION) != 0)
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
    else if ((flags & PD_PAGENUMS) != 0)
        dialog.setPrintRange(QAbstractPrintDialog::PageRange);
}

int32_t FinalFlags(const QPrintDialog& dialog, const QPrinter& printer, int32_t flags)
{
    flags &= ~(PD_SELECTION | PD_PAGENUMS | PD_COLLATE | PD_PRINTTOFILE);
    if (dialog.printRange() == QAbstractPrintDialog::Selection)
        flags |= PD_SELECTION;
    else if (dialog.printRange() == QAbstractPrintDialog::PageRange)
        flags |= PD_PAGENUMS;
    if (printer.collateCopies())
        flags |= PD_COLLATE;
    if (!printer.outputFileName().isEmpty())
        flags |= PD_PRINTTOFILE;
    return flags;
}

// Shows the dialog the flags ask for; the final flags on confirmation.
bool RunDialog(void* owner, QPrinter& printer, int32_t& flags)
{
    if ((flags & PD_RETURNDEFAULT) != 0)
        return !QPrinterInfo::defaultPrinter().isNull();
    if ((flags & PD_PRINTSETUP) != 0) {
        QPageSetupDialog dialog(&printer, WidgetFromHandle(owner));
        return dialog.exec() == QDialog::Accepted;
    }
    QPrintDialog dialog(&printer, WidgetFromHandle(owner));
    dialog.setOptions(DialogOptions(flags));
    StartRange(dialog, flags);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    flags = FinalFlags(dialog, printer, flags);
    return true;
}

}  // namespace

int32_t PrintSetupDlg(void* owner, int32_t* flags, const void* devNames, int32_t devNamesSize, void* devMode)
{
    if (flags == nullptr || devMode == nullptr || !CanShowWindows())
        return 0;
    uint16_t declaredSize = 0;
    std::memcpy(&declaredSize, static_cast<const char*>(devMode) + offsetof(DEVMODE, dmSize), sizeof declaredSize);
    if (declaredSize < kMinimumDevModeSize)
        return 0;
    const size_t length = std::min<size_t>(declaredSize, sizeof(DEVMODE));
    DEVMODE mode;
    std::memcpy(&mode, devMode, length);

    QPrinter printer(QPrinter::HighResolution);
    if ((*flags & PD_RETURNDEFAULT) == 0)
        SelectPrinter(printer, DeviceName(devNames, devNamesSize, mode));
    ApplyDevMode(mode, printer);
    int32_t finalFlags = *flags | kPrintForcedFlags;
    if (!RunDialog(owner, printer, finalFlags))
        return 0;
    FillDevMode(printer, mode);
    std::memcpy(devMode, &mode, length);
    *flags = finalFlags;
    return 1;
}

}  // namespace quorvantell::exports
