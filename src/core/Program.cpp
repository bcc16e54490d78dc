#include "Program.h"

#include "Unit1.h"

#include "localisation/LanguageSource.h"
#include "overview/Unit2.h"
#include "pictures/BilledUnit.h"
#include "register/Register.h"
#include "toolkit/AccessibleWindows.h"

TProgram::TProgram(const TFormatSettings& settings, const QString& programFolder, const QString& shareFolder)
    : m_register(std::make_unique<TRegister>(settings)),
      m_form1(std::make_unique<TForm1>(*m_register, settings)) {
    AccessibleWindows::Install(); // before the overview and the picture window are made
    TForm1& form1 = *m_form1;
    if (!programFolder.isEmpty()) {
        form1.SetProgramFolder(programFolder);
    }
    if (!shareFolder.isEmpty()) {
        form1.SetShareFolder(shareFolder);
    }
    m_form2 = std::make_unique<TForm2>(*m_register, form1.LanguageSource1, &form1);
    form1.AttachOverview(*m_form2);
    TRegister& reg = *m_register;
    m_billedForm = std::make_unique<TBilledForm>(
        reg.Pictures(), [&reg] { return reg.CurrentFoto(); }, &form1);
    form1.BilledForm = m_billedForm.get();
}

TProgram::~TProgram() {
    m_form1->BilledForm = nullptr;
    m_billedForm.reset();
    m_form2.reset();
    m_form1.reset();
}
