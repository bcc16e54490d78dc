#pragma once

#include "ModalAnswerer.h"
#include "ProgramFolder.h"
#include "TestPlatform.h"
#include "core/Program.h"
#include "core/Unit1.h"
#include "register/Register.h"

#include <QDir>
#include <memory>

// A main window over a program folder of its own, run from that folder like the installed program.
struct TMainWindowFixture {
    TProgramFolder Folder;
    QString PreviousDirectory = QDir::currentPath();
    std::unique_ptr<TModalAnswerer> Answerer = std::make_unique<TModalAnswerer>();
    std::unique_ptr<TProgram> Program;
    TForm1* Form = nullptr;

    TMainWindowFixture() { QDir::setCurrent(Folder.Path()); }
    ~TMainWindowFixture() {
        Program.reset();
        QDir::setCurrent(PreviousDirectory);
    }
    void Sql(const QString& file, const QString& statement) const;
    TForm1& Start();
    // Selects a page as the user does, by its page name.
    void SelectPage(const QString& page) const;
    QString ConfigRow() const;
};
