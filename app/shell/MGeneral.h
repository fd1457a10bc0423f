// MGeneral: helpers the program's dialogs share - a text fitted to a
// label's width with an ellipsis, the settings' colours on a field, and the
// fonts the settings give the file lists and the other windows.
#pragma once

#include <QFont>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace velloran {

class CSync;

namespace MGeneral {

// Where a text that does not fit loses its characters: in the middle
// (folders keep their root and their last folder) or at the end (file names).
enum class Ellipsis { Path, End };

// text (UTF-8) as it fits into width twips on widget in the widget's font;
// the whole text when it fits. 96 % of the width is used, leaving the
// label's own margin free.
QString FitTextToWidth(int32_t width, const QWidget* widget, const std::string& text, Ellipsis style);

// A text box or list in the settings' colours: background and text
// (0x00BBGGRR).
void SetFieldColors(QWidget* field, uint32_t background, uint32_t text);

// The "OthFont" font of the settings; none while its name is empty.
std::optional<QFont> OtherFont(const CSync& sync);
// The file lists' "ConsoleFont" font; none while its name is empty.
std::optional<QFont> ConsoleFont(const CSync& sync);

}  // namespace MGeneral
}  // namespace velloran
