#pragma once

#include "store/FormatSettings.h"

#include <QString>
#include <memory>

class TRegister;
class TForm1;
class TForm2;
class TBilledForm;

// The register and the program's windows over it, made in the start order: the main window, the
// overview window, the full-size picture window. This is the one place that wires each window to
// the register. They live until the program ends.
class TProgram {
public:
    // `programFolder` is the folder of the pictures (and of the help without a share folder); empty:
    // the executable's. `shareFolder` holds the language files and help when installed apart.
    explicit TProgram(const TFormatSettings& settings, const QString& programFolder = {},
                      const QString& shareFolder = {});
    ~TProgram();

    TRegister& Register() const { return *m_register; }
    TForm1& Form1() const { return *m_form1; }
    TForm2& Form2() const { return *m_form2; }
    TBilledForm& BilledForm() const { return *m_billedForm; }

private:
    std::unique_ptr<TRegister> m_register; // outlives the windows that show it
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TBilledForm> m_billedForm;
};
