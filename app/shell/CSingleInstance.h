// CSingleInstance: the program's single-instance guard. The first start
// loads and shows the main window and runs the command lines later starts
// hand over, one after the other; a later start hands its command line over
// and ends once the running instance has run it.
#pragma once

#include <QObject>

#include <memory>
#include <string>

namespace quorvantell {
class CSingleInst;
}

namespace velloran {

class frmMain;

class CSingleInstance : public QObject {
public:
    CSingleInstance();
    ~CSingleInstance() override;

    // True when this process goes on as the running instance, with the main
    // window loaded and shown and CommandLine's script run; false when the
    // running instance has taken CommandLine and this process is to end.
    bool Init(frmMain& form, const std::string& CommandLine);

private:
    // Writes "Instances", then offers the command line until the running
    // instance has run it (true). False when this start is to run on its own:
    // the running instance closed meanwhile (its lock is free now) or never
    // came to listen before the deadline.
    bool HandOver(const std::string& CommandLine);
    void SingleInst_WakeUp(const std::string& CommandLine);

    frmMain* m_form = nullptr;
    std::shared_ptr<quorvantell::CSingleInst> m_singleInst;
};

}  // namespace velloran
