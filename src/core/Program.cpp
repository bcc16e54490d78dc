#include "Program.h"

#include "Unit1.h"

#include "localisation/LanguageSource.h"
#include "overview/Unit2.h"
#include "pictures/BilledUnit.h"
#include "store/Table.h"
#include "toolkit/AccessibleWindows.h"

TProgram::TProgram(const TFormatSettings& settings, const QString& programFolder, const QString& shareFolder)
    : m_form1(std::make_unique<TForm1>(settings)) {
    AccessibleWindows::Install(); // before the overview and the picture window are made
    TForm1& form1 = *m_form1;
    if (!programFolder.isEmpty()) {
        form1.SetProgramFolder(programFolder);
    }
    if (!shareFolder.isEmpty()) {
        form1.SetShareFolder(shareFolder);
    }
    m_form2 = std::make_unique<TForm2>(*form1.HabitraTable, *form1.HabitraSource, *form1.ConfigTable,
                                       form1.LanguageSource1, &form1);
    form1.AttachOverview(*m_form2);
    m_billedForm = std::make_unique<TBilledForm>(
        TPictureFolder(form1.ProgramFolder() + QStringLiteral("Billeder")),
        [&form1] {
            return form1.HabitraTable->Active()
                       ? form1.HabitraTable->FieldByName(QStringLiteral("Foto"))->AsString()
                       : QString();
        },
        &form1);
    form1.BilledForm = m_billedForm.get();
}

TProgram::~TProgram() {
    m_form1->BilledForm = nullptr;
    m_billedForm.reset();
    m_form2.reset();
}
