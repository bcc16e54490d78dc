#include "TestWindow.h"

#include <QFile>
#include <QMenuBar>
#include <QVBoxLayout>

TTestWindow::TTestWindow(const QString& name) {
    setObjectName(name);
    setWindowTitle(QStringLiteral("Hovedvindue"));
    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("MainMenu1"));
    layout->setMenuBar(menuBar);
    Filer1 = new QMenu(QStringLiteral("&Filer"), menuBar);
    Filer1->setObjectName(QStringLiteral("Filer1"));
    menuBar->addMenu(Filer1);
    Afslut1 = new QAction(QStringLiteral("&Afslut"), this);
    Afslut1->setObjectName(QStringLiteral("Afslut1"));
    Afslut1->setToolTip(QStringLiteral("Afslut programmet"));
    Filer1->addAction(Afslut1);

    Label1 = new QLabel(QStringLiteral("Beskrivelse"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setToolTip(QStringLiteral("Tingens beskrivelse"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Button1 = new QPushButton(QStringLiteral("Start program"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("Bøger"));
    ComboBox1 = new QComboBox(TabSheet1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->addItem(QStringLiteral("Alle kategorier"), 10);
    ComboBox1->addItem(QStringLiteral("Antikviteter"), 11);
    ComboBox1->addItem(QStringLiteral("Bøger"), 12);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QStringLiteral("Vælg kategori"));
    Edit1 = new QLineEdit(TabSheet1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    DBNavigator1 = new THintBar(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    AboutBox1 = new TWarner(this);
    AboutBox1->setObjectName(QStringLiteral("AboutBox1"));
    AboutBox1->SetWarning(QStringLiteral("Advarsel: ophavsret"));
    for (QWidget* widget :
         {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2), static_cast<QWidget*>(Button1),
          static_cast<QWidget*>(PageControl1), static_cast<QWidget*>(DBNavigator1)}) {
        layout->addWidget(widget);
    }
}

QStringList TTestWindow::Snapshot() const {
    QStringList items;
    for (int i = 0; i < ComboBox1->count(); ++i) {
        items << ComboBox1->itemText(i) + QLatin1Char('/') + ComboBox1->itemData(i).toString();
    }
    return {windowTitle(),
            Label1->text(),
            Label1->toolTip(),
            Label2->text(),
            Button1->text(),
            Button1->toolTip(),
            PageControl1->tabText(0),
            TabSheet1->toolTip(),
            ComboBox1->currentText(),
            items.join(QLatin1Char('|')),
            Edit1->text(),
            Filer1->title(),
            Afslut1->text(),
            Afslut1->toolTip(),
            DBNavigator1->Hints().join(QLatin1Char('|')),
            AboutBox1->Warning()};
}

QString TLanguageFolder::Write(const QString& name, const QByteArray& contents) {
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size()) {
        qFatal("cannot write test language file");
    }
    return file.fileName();
}

QString TLanguageFolder::Path(const QString& name) const {
    return m_dir.filePath(name);
}
