// OpenWithDialog: the "open with" choice for a file - the applications whose
// desktop entries open its MIME type (or one it derives from, text/plain for
// a C source) - that starts the chosen one with the file.
#pragma once

#include "classlib/files/DesktopEntry.h"

#include <QDialog>

#include <string>
#include <vector>

class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace quorvantell {

class OpenWithDialog : public QDialog {
    Q_OBJECT

public:
    // Shows the choice for the file, modal. True when the chosen application
    // started; false when the user cancelled or no window can be shown here
    // (no widget application on this thread).
    static bool Run(const std::string& docName, QWidget* owner = nullptr);

    OpenWithDialog(const std::string& docName, QWidget* parent = nullptr);

    // Starts the chosen application; when it cannot start, says so and
    // stays open for another choice.
    void accept() override;

private:
    std::string m_docName;
    std::vector<DesktopEntry> m_applications;
    QLabel* m_prompt;
    QListWidget* m_list;
    QDialogButtonBox* m_buttons;
};

}  // namespace quorvantell
